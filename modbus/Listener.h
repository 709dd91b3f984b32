#pragma once

#include <cstdint>
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

// A client accepted from `listenFd`, non-blocking, with Nagle's delay off;
// fd -1 when none is waiting (or accepting failed).
struct AcceptedClient {
    int fd = -1;
    std::string peer;  // "127.0.0.1:50312", "[::1]:50312"
};
AcceptedClient AcceptClient(int listenFd);

}  // namespace modbus
