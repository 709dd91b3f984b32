#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace modbus {

// A listening TCP socket, non-blocking, with SO_REUSEADDR.
struct ListenSocket {
    int fd = -1;        // -1 when opening failed
    uint16_t port = 0;  // the bound port (the one the system picked for port 0)
    std::string error;  // why opening failed: "<address>:<port>: <reason>"
};

// `address` is a numeric IPv4 or IPv6 address.
ListenSocket OpenListenSocket(const std::string& address, uint16_t port);

// An IP address in 16 bytes: an IPv6 address as it is, an IPv4 address in its
// IPv4-mapped form (::ffff:a.b.c.d), so that a client of an IPv6 socket that
// comes over IPv4 has the same address as over an IPv4 socket.
using PeerAddress = std::array<uint8_t, 16>;

// The numeric IPv4 or IPv6 address `text`; nothing for anything else (names
// included: nothing is looked up).
std::optional<PeerAddress> ParsePeerAddress(const std::string& text);

// A client accepted from `listenFd`, non-blocking, with Nagle's delay off;
// fd -1 when none is waiting (or accepting failed).
struct AcceptedClient {
    int fd = -1;
    std::string peer;     // "127.0.0.1:50312", "[::1]:50312"
    std::string host;     // the address alone: "127.0.0.1", "::1"
    PeerAddress address;  // the same in bytes
};
AcceptedClient AcceptClient(int listenFd);

}  // namespace modbus
