#include "modbus/Listener.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace modbus {

namespace {

constexpr int kBacklog = 32;

std::string Reason(const std::string& address, uint16_t port, const std::string& why) {
    return address + ":" + std::to_string(port) + ": " + why;
}

std::string PeerText(const sockaddr_storage& peer, socklen_t size) {
    char host[NI_MAXHOST] = {};
    char service[NI_MAXSERV] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&peer), size, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
        return "?";
    }
    if (peer.ss_family == AF_INET6) return std::string("[") + host + "]:" + service;
    return std::string(host) + ":" + service;
}

}  // namespace

ListenSocket OpenListenSocket(const std::string& address, uint16_t port) {
    ListenSocket result;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    addrinfo* found = nullptr;
    const int lookup = getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup != 0 || !found) {
        result.error = Reason(address, port, "not a numeric IP address");
        return result;
    }
    const int fd = socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, kBacklog) != 0) {
        result.error = Reason(address, port, std::strerror(errno));
        if (fd >= 0) close(fd);
        freeaddrinfo(found);
        return result;
    }
    freeaddrinfo(found);
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size);
    result.port =
        ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6&>(bound).sin6_port
                                          : reinterpret_cast<const sockaddr_in&>(bound).sin_port);
    result.fd = fd;
    return result;
}

AcceptedClient AcceptClient(int listenFd) {
    AcceptedClient client;
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    const int fd =
        accept4(listenFd, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return client;
    // Each reply goes out in one write; nothing is gained by holding it back.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    client.fd = fd;
    client.peer = PeerText(peer, size);
    return client;
}

}  // namespace modbus
