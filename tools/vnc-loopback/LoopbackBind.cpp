// Preloaded into the console when `make run` serves it over VNC for want of a
// display. Qt's VNC platform plugin listens on every network interface and has
// no option to choose one, and it asks no password; so the one listening socket
// on the VNC port (GT_VNC_PORT) is bound to the loopback address instead, and
// the console can be seen from this machine only (or through an SSH tunnel).
// Every other socket is bound as asked.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>

namespace {

using BindFunction = int (*)(int, const sockaddr*, socklen_t);

BindFunction RealBind() {
    static const auto real = reinterpret_cast<BindFunction>(dlsym(RTLD_NEXT, "bind"));
    return real;
}

in_port_t VncPort() {
    static const in_port_t port = [] {
        const char* text = std::getenv("GT_VNC_PORT");
        const long value = text != nullptr ? std::strtol(text, nullptr, 10) : 5900;
        return htons(static_cast<uint16_t>(value > 0 && value < 65536 ? value : 5900));
    }();
    return port;
}

}  // namespace

extern "C" int bind(int fd, const sockaddr* address, socklen_t length) {
    const BindFunction real = RealBind();
    if (real == nullptr) return -1;
    if (address != nullptr && address->sa_family == AF_INET && length >= sizeof(sockaddr_in)) {
        sockaddr_in v4{};
        std::memcpy(&v4, address, sizeof v4);
        if (v4.sin_port == VncPort() && v4.sin_addr.s_addr == htonl(INADDR_ANY)) {
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            return real(fd, reinterpret_cast<const sockaddr*>(&v4), sizeof v4);
        }
    }
    if (address != nullptr && address->sa_family == AF_INET6 && length >= sizeof(sockaddr_in6)) {
        sockaddr_in6 v6{};
        std::memcpy(&v6, address, sizeof v6);
        if (v6.sin6_port == VncPort() && IN6_IS_ADDR_UNSPECIFIED(&v6.sin6_addr)) {
            // A dual-stack socket: 127.0.0.1 as an IPv4-mapped address, which is
            // what viewers reach through "localhost".
            inet_pton(AF_INET6, "::ffff:127.0.0.1", &v6.sin6_addr);
            return real(fd, reinterpret_cast<const sockaddr*>(&v6), sizeof v6);
        }
    }
    return real(fd, address, length);
}
