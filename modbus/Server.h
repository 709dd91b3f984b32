#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "modbus/Frame.h"
#include "modbus/Listener.h"
#include "modbus/RegisterMap.h"
#include "modbus/Responder.h"

namespace modbus {

struct ServerOptions {
    std::string address = "127.0.0.1";  // numeric IPv4 or IPv6 address to listen on
    uint16_t port = 502;                // 0: the system picks a free port (see Port())
    bool writable = true;               // false: every write answers exception 01
    std::size_t maxClients = 16;
    // A client that sends no complete request for this long is dropped.
    std::chrono::milliseconds idleTimeout = std::chrono::seconds(60);
    // While every place is taken, a new connection takes the place of the
    // client that has gone longest without a complete request, once that
    // client has been silent this long; otherwise it is closed at once.
    std::chrono::milliseconds yieldAfter = std::chrono::seconds(5);
    // The numeric IPv4 or IPv6 addresses of the clients that may connect;
    // any other is closed as soon as it is accepted. Nothing: every client.
    std::optional<std::vector<std::string>> allow;
};

// What the server tells its host. Every callback runs inside a call of the
// host (Poll, Stop) on the thread that makes it, and must not call back into
// the server.
struct ServerEvents {
    // A client came or went; `peer` is its address and port, "127.0.0.1:50312".
    std::function<void(const std::string& peer)> clientConnected;
    std::function<void(const std::string& peer)> clientDisconnected;
    // A client from an address that ServerOptions::allow leaves out was
    // closed; told once per address (`host` is the address alone, "10.0.0.7"),
    // for the first kRefusedTold addresses.
    std::function<void(const std::string& host)> clientRefused;
};

struct ListenResult {
    bool ok = false;
    std::string error;  // why not: "<address>:<port>: <reason>"
    explicit operator bool() const { return ok; }
};

// A Modbus TCP server over a register map. It has no thread of its own: one
// thread at a time calls Poll() in a loop (a ServerThread, or a host that
// runs the plant on the same thread), and only Wake() may come from another.
// Nothing in it blocks but the wait in Poll().
class Server {
public:
    using Clock = std::chrono::steady_clock;

    // Refused addresses told of; more are closed without a word, so that a
    // flood of addresses cannot grow the server without end.
    static constexpr std::size_t kRefusedTold = 1024;

    // `now` is the clock of the idle timeout and the yielding of places;
    // tests pass their own.
    Server(RegisterMap& registers, ServerOptions options, ServerEvents events = {},
           std::function<Clock::time_point()> now = &Clock::now);
    // Closes every socket without calling back.
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Opens the listening socket (once; a second call fails). An address of
    // ServerOptions::allow that is not numeric fails it too.
    ListenResult Listen();
    // The port listened on, 0 before Listen() succeeded.
    uint16_t Port() const { return port_; }
    // The address and port listened on, "127.0.0.1:502" or "[::1]:502"; empty
    // before Listen() succeeded.
    std::string Endpoint() const;

    // Waits at most `timeoutMs` (0: not at all, -1: until something happens)
    // for clients, requests or a Wake(); accepts, reads and answers what is
    // there, and drops idle clients.
    void Poll(int timeoutMs);
    // Ends the wait of a Poll() under way, or the next one, at once. Safe
    // from any thread.
    void Wake();
    // Drops every client and closes the listening socket, with callbacks.
    void Stop();

    std::size_t ClientCount() const { return clients_.size(); }

private:
    struct Client {
        int fd = -1;
        std::string peer;
        Clock::time_point lastRequest;
        std::array<uint8_t, kLongestFrame> received{};
        std::size_t used = 0;
    };

    void AcceptWaiting();
    // Whether the client's address may connect; when not, tells of the
    // address once.
    bool Admit(const AcceptedClient& client);
    bool MakeRoom();
    void Serve(Client& client);
    bool AnswerReceived(Client& client);
    void DropIdle();
    void Drop(int fd);
    Client* Find(int fd);
    void CloseAll(bool tell);

    ServerOptions options_;
    ServerEvents events_;
    std::function<Clock::time_point()> now_;
    RegisterMap& registers_;
    Responder responder_;
    int listenFd_ = -1;
    int pollFd_ = -1;  // epoll: the listening socket, every client, the wake-up
    int wakeFd_ = -1;  // eventfd
    uint16_t port_ = 0;
    std::vector<std::unique_ptr<Client>> clients_;
    std::vector<PeerAddress> allowed_;  // when options_.allow is set
    std::set<PeerAddress> refused_;     // addresses told of
    // The replies to one read's requests, sent in one write.
    std::vector<uint8_t> replies_;
};

}  // namespace modbus
