#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "modbus/Frame.h"
#include "modbus/RegisterMap.h"

namespace modbus {

class Responder;

struct ServerOptions {
    std::string address = "127.0.0.1";  // numeric IPv4 or IPv6 address to listen on
    uint16_t port = 502;                // 0: the system picks a free port (see Port())
    bool writable = true;               // false: every write answers exception 01
    std::size_t maxClients = 16;        // one more is accepted and closed at once
    // A client that sends no complete request for this long is dropped.
    std::chrono::milliseconds idleTimeout = std::chrono::seconds(60);
};

// What the server tells its host. Every callback runs inside a call of the host
// (OnReadable, Poll, DropIdle, Stop) and must not call back into the server.
struct ServerEvents {
    // A descriptor to watch for reading, and one to watch no more. fdRemoved
    // comes before the descriptor is closed, so its number is not yet reused;
    // it may come while the host is inside a notification for that descriptor.
    std::function<void(int fd)> fdAdded;
    std::function<void(int fd)> fdRemoved;
    // A client came or went; `peer` is its address and port, "127.0.0.1:50312".
    std::function<void(const std::string& peer)> clientConnected;
    std::function<void(const std::string& peer)> clientDisconnected;
};

struct ListenResult {
    bool ok = false;
    std::string error;  // why not: "<address>:<port>: <reason>"
    explicit operator bool() const { return ok; }
};

// A Modbus TCP server over a register map, without threads of its own: the host
// calls it on the thread that owns the map (the thread of the controller cycle)
// and nothing in it blocks.
//
// An event-loop host watches Fds() (kept up to date through fdAdded and
// fdRemoved), calls OnReadable(fd) when one is readable and DropIdle() now and
// then (say once per controller cycle). A poll host calls Poll(timeoutMs) in its
// loop, which does both.
class Server {
public:
    using Clock = std::chrono::steady_clock;

    // `now` is the clock of the idle timeout; tests pass their own.
    Server(RegisterMap& registers, ServerOptions options, ServerEvents events = {},
           std::function<Clock::time_point()> now = &Clock::now);
    // Closes every socket without calling back: the host tears its watchers
    // down with the server.
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Opens the listening socket (once; a second call fails).
    ListenResult Listen();
    // The port listened on, 0 before Listen() succeeded.
    uint16_t Port() const { return port_; }
    // The address and port listened on, "127.0.0.1:502" or "[::1]:502"; empty
    // before Listen() succeeded.
    std::string Endpoint() const;

    // The descriptors to watch for reading: the listening socket and every client.
    std::vector<int> Fds() const;
    // Accepts waiting clients or reads and answers one client's requests, as far
    // as that is possible without waiting. Unknown descriptors are ignored.
    void OnReadable(int fd);
    // Waits at most `timeoutMs` (0: not at all) for any descriptor to become
    // readable, serves what is, and drops idle clients.
    void Poll(int timeoutMs);
    // Drops the clients that have sent no complete request for the idle timeout.
    void DropIdle();
    // Drops every client and closes the listening socket, with callbacks.
    void Stop();

    std::size_t ClientCount() const { return clients_.size(); }

private:
    struct Client {
        int fd = -1;
        std::string peer;
        Clock::time_point lastRequest;
        std::array<uint8_t, kMaxAduSize> received{};
        std::size_t used = 0;
    };

    void AcceptWaiting();
    void Serve(Client& client);
    bool AnswerReceived(Client& client);
    void Drop(int fd);
    Client* Find(int fd);
    void CloseAll(bool tell);

    RegisterMap& registers_;
    ServerOptions options_;
    ServerEvents events_;
    std::function<Clock::time_point()> now_;
    std::unique_ptr<Responder> responder_;
    int listenFd_ = -1;
    uint16_t port_ = 0;
    std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace modbus
