#include "modbus/Listener.h"

#include <arpa/inet.h>
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

PeerAddress Mapped(const in_addr& v4) {
    PeerAddress bytes{};
    bytes[10] = 0xFF;
    bytes[11] = 0xFF;
    std::memcpy(bytes.data() + 12, &v4, 4);
    return bytes;
}

// Fills the client's peer, host and address from what accept() returned.
void DescribePeer(const sockaddr_storage& peer, socklen_t size, AcceptedClient& client) {
    char host[NI_MAXHOST] = {};
    char service[NI_MAXSERV] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&peer), size, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
        client.peer = client.host = "?";
    } else {
        client.host = host;
        client.peer = peer.ss_family == AF_INET6 ? "[" + client.host + "]:" + service
                                                 : client.host + ":" + service;
    }
    client.address = {};
    if (peer.ss_family == AF_INET6) {
        std::memcpy(client.address.data(),
                    &reinterpret_cast<const sockaddr_in6&>(peer).sin6_addr, 16);
    } else if (peer.ss_family == AF_INET) {
        client.address = Mapped(reinterpret_cast<const sockaddr_in&>(peer).sin_addr);
    }
}

}  // namespace

std::optional<PeerAddress> ParsePeerAddress(const std::string& text) {
    in_addr v4{};
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1) return Mapped(v4);
    PeerAddress v6{};
    if (inet_pton(AF_INET6, text.c_str(), v6.data()) == 1) return v6;
    return std::nullopt;
}

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
    DescribePeer(peer, size, client);
    return client;
}

}  // namespace modbus
