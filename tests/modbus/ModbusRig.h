#pragma once

#include <fcntl.h>
#include <modbus/modbus.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <future>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "modbus/PlantExchange.h"
#include "modbus/PlantRegisters.h"
#include "modbus/Server.h"
#include "plant/Wagons.h"
#include "tests/plant/PlantRig.h"

namespace modbus_test {

// The unloading track with nothing to show it on: the wagon timer keeps which
// wagons are on it.
class WagonTrack : public plant::WagonsOutlet {
public:
    void SetWagonVisible(int, bool) override {}
    void SetSiloColour(int, uint32_t) override {}
    void SetTemperatureAlarmShown(bool) override {}
    void SetUnloadingBoard(double) override {}
    void RepaintNow() override {}
};

// The outcome of one client call: the values read, or the exception code
// (-1 when no Modbus answer came at all).
struct Reply {
    std::vector<uint16_t> values;
    int exception = 0;
};

// The plant, its wagon timer and a server on an ephemeral loopback port, all on
// the test's thread, as grain-sim keeps them: the server answers from the image
// published after each cycle, and each cycle takes the commands written since
// the last. Blocking client calls run on a second thread while this thread serves.
class ModbusRig {
public:
    explicit ModbusRig(modbus::ServerOptions options = Loopback())
        : server(registers, options, Events(), [this] { return now; }) {
        const modbus::ListenResult listening = server.Listen();
        if (!listening) throw std::runtime_error(listening.error);
        exchange.Publish();
    }
    ~ModbusRig() {
        if (client_) {
            modbus_close(client_);
            modbus_free(client_);
        }
    }

    static modbus::ServerOptions Loopback() {
        modbus::ServerOptions options;
        options.port = 0;
        return options;
    }

    // Runs `call` on a second thread, serving until it returns.
    template <typename Call>
    auto Async(Call call) {
        auto done = std::async(std::launch::async, call);
        while (done.wait_for(std::chrono::seconds(0)) != std::future_status::ready) server.Poll(2);
        return done.get();
    }

    // The rig's libmodbus client, connected on first use.
    modbus_t* Client() {
        if (!client_) {
            client_ = modbus_new_tcp("127.0.0.1", server.Port());
            modbus_set_response_timeout(client_, 5, 0);
            if (Async([this] { return modbus_connect(client_); }) != 0) {
                throw std::runtime_error("cannot connect");
            }
        }
        return client_;
    }

    Reply ReadInput(int address, int count) { return Read(address, count, true); }
    Reply ReadHolding(int address, int count) { return Read(address, count, false); }
    Reply Write(int address, std::vector<uint16_t> values) {
        modbus_t* ctx = Client();
        return Async([&] {
            const int rc = values.size() == 1
                               ? modbus_write_register(ctx, address, values[0])
                               : modbus_write_registers(
                                     ctx, address, static_cast<int>(values.size()), values.data());
            return rc < 0 ? Failure() : Reply{};
        });
    }

    // Controller cycles as a host runs them: commands in, cycle, image out.
    void Tick(int n = 1) {
        for (int k = 0; k < n; ++k) {
            exchange.TakeCommands();
            plantRig.Tick();
            exchange.Publish();
        }
    }
    // The tables as they stand now become what clients read.
    void Publish() { exchange.Publish(); }

    plant_test::PlantRig plantRig;
    plant::Plant& tables = plantRig.plant;
    WagonTrack track;
    plant_test::FixedRandom draw;  // the wagon timer's dice
    plant::Wagons wagons{tables, track, plantRig.journal, plantRig.sound, draw};
    modbus::PlantExchange exchange{tables};
    modbus::PlantRegisters registers{exchange};
    modbus::Server::Clock::time_point now{};
    std::vector<std::string> events;
    modbus::Server server;

private:
    modbus::ServerEvents Events() {
        modbus::ServerEvents e;
        e.clientConnected = [this](const std::string& p) { events.push_back("connected " + p); };
        e.clientDisconnected = [this](const std::string& p) {
            events.push_back("disconnected " + p);
        };
        e.clientRefused = [this](const std::string& host) { events.push_back("refused " + host); };
        return e;
    }
    static Reply Failure() {
        const int code = errno - MODBUS_ENOBASE;
        return {{}, code > 0 && code < MODBUS_EXCEPTION_MAX ? code : -1};
    }
    Reply Read(int address, int count, bool input) {
        modbus_t* ctx = Client();
        return Async([&] {
            std::vector<uint16_t> values(static_cast<std::size_t>(count));
            const int rc = input ? modbus_read_input_registers(ctx, address, count, values.data())
                                 : modbus_read_registers(ctx, address, count, values.data());
            return rc < 0 ? Failure() : Reply{values, 0};
        });
    }

    modbus_t* client_ = nullptr;
};

// A plain TCP client that sends whatever bytes a test gives it, on the test's
// own thread: it never blocks, and the rig serves while it waits for an answer.
class RawClient {
public:
    // `receiveBuffer` > 0 shrinks the socket's receive buffer to about that
    // size; `from` is the loopback address the client comes from (127.0.0.1
    // unless another of 127.0.0.0/8 is given).
    explicit RawClient(uint16_t port, int receiveBuffer = 0, uint32_t from = INADDR_LOOPBACK) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0) {
            setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        }
        if (from != INADDR_LOOPBACK) {
            sockaddr_in own{};
            own.sin_family = AF_INET;
            own.sin_addr.s_addr = htonl(from);
            bind(fd_, reinterpret_cast<const sockaddr*>(&own), sizeof own);
        }
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // A loopback connect completes in the listen backlog, before any accept.
        connected_ = connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
        fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    ~RawClient() {
        if (fd_ >= 0) close(fd_);
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Connected() const { return connected_; }
    int Fd() const { return fd_; }

    // Bytes the socket took (all of them unless its buffer is full).
    std::size_t Send(const std::vector<uint8_t>& bytes) {
        const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        return sent < 0 ? 0 : static_cast<std::size_t>(sent);
    }

    // Serves until at least `count` bytes have come back or the server closed
    // the connection, for at most `rounds` polls of the server; returns them all.
    std::vector<uint8_t> Receive(modbus::Server& server, std::size_t count, int rounds = 2000) {
        Gather(server, count, rounds);
        return std::exchange(pending_, {});
    }
    // Serves until one whole reply frame is here (empty when the connection
    // closed first); bytes of the frames after it wait for the next call.
    std::vector<uint8_t> ReceiveFrame(modbus::Server& server) {
        Gather(server, 6, 2000);
        if (pending_.size() < 6) return {};
        const std::size_t size = 6 + (static_cast<std::size_t>(pending_[4]) << 8 | pending_[5]);
        Gather(server, size, 2000);
        if (pending_.size() < size) return {};
        std::vector<uint8_t> frame(pending_.begin(), pending_.begin() + static_cast<long>(size));
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(size));
        return frame;
    }
    // Serves until the server has closed this connection (at most `rounds` polls).
    bool ClosedByServer(modbus::Server& server, int rounds = 2000) {
        while (!closed_ && rounds-- > 0) Receive(server, SIZE_MAX, 1);
        return closed_;
    }

private:
    void Gather(modbus::Server& server, std::size_t count, int rounds) {
        for (int k = 0; k < rounds && pending_.size() < count && !closed_; ++k) {
            server.Poll(1);
            uint8_t buffer[512];
            const ssize_t n = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) closed_ = true;
            if (n > 0) pending_.insert(pending_.end(), buffer, buffer + n);
        }
    }

    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
    std::vector<uint8_t> pending_;  // received, not yet handed out
};

// A Modbus TCP frame around `pdu`: transaction id, protocol 0, length, unit id.
inline std::vector<uint8_t> Frame(const std::vector<uint8_t>& pdu, uint16_t transaction = 0x1234,
                                  uint8_t unit = 1) {
    const std::size_t length = pdu.size() + 1;
    // Sized first and filled in place: GCC 12 takes an insert into a short
    // vector for an overflow when the code is instrumented (-Warray-bounds).
    std::vector<uint8_t> frame(6 + length);
    frame[0] = static_cast<uint8_t>(transaction >> 8);
    frame[1] = static_cast<uint8_t>(transaction & 0xFF);
    frame[4] = static_cast<uint8_t>(length >> 8);
    frame[5] = static_cast<uint8_t>(length & 0xFF);
    frame[6] = unit;
    std::copy(pdu.begin(), pdu.end(), frame.begin() + 7);
    return frame;
}

}  // namespace modbus_test
