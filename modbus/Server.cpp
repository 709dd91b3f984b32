#include "modbus/Server.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "modbus/Listener.h"

namespace modbus {

namespace {

// Work done for one readable client before the others get their turn: a
// client that floods the server cannot starve the rest.
constexpr int kReadsPerCall = 4;
constexpr int kAcceptsPerCall = 32;
constexpr int kEventsPerWait = 32;
// Replies gathered before they are written: a client may send many requests
// at once, and every reply to them goes out in as few writes as fit here.
constexpr std::size_t kReplyBuffer = 16 * kMaxReplySize;

bool Watch(int pollFd, int fd) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    return epoll_ctl(pollFd, EPOLL_CTL_ADD, fd, &event) == 0;
}

// The whole of `data` into the socket at once, or false: a client whose socket
// will not take its replies is not waited for.
bool SendAll(int fd, const uint8_t* data, std::size_t size) {
    for (;;) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && errno == EINTR) continue;
        return sent == static_cast<ssize_t>(size);
    }
}

}  // namespace

Server::Server(RegisterMap& registers, ServerOptions options, ServerEvents events,
               std::function<Clock::time_point()> now)
    : options_(std::move(options)),
      events_(std::move(events)),
      now_(std::move(now)),
      registers_(registers),
      responder_(registers, options_.writable),
      replies_(kReplyBuffer) {}

Server::~Server() {
    CloseAll(false);
}

ListenResult Server::Listen() {
    if (listenFd_ >= 0) {
        return {false, options_.address + ":" + std::to_string(port_) + ": already listening"};
    }
    allowed_.clear();
    if (options_.allow) {
        for (const std::string& text : *options_.allow) {
            const std::optional<PeerAddress> address = ParsePeerAddress(text);
            if (!address) return {false, "Allow: " + text + ": not a numeric IP address"};
            allowed_.push_back(*address);
        }
    }
    const ListenSocket socket = OpenListenSocket(options_.address, options_.port);
    if (socket.fd < 0) return {false, socket.error};
    listenFd_ = socket.fd;
    pollFd_ = epoll_create1(EPOLL_CLOEXEC);
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (pollFd_ < 0 || wakeFd_ < 0 || !Watch(pollFd_, listenFd_) || !Watch(pollFd_, wakeFd_)) {
        const std::string reason = std::strerror(errno);
        CloseAll(false);
        return {false, options_.address + ":" + std::to_string(options_.port) + ": " + reason};
    }
    port_ = socket.port;
    return {true, {}};
}

std::string Server::Endpoint() const {
    if (listenFd_ < 0) return {};
    const std::string& address = options_.address;
    const bool v6 = address.find(':') != std::string::npos;
    return (v6 ? "[" + address + "]" : address) + ":" + std::to_string(port_);
}

void Server::Poll(int timeoutMs) {
    DropIdle();
    if (pollFd_ < 0) return;
    std::array<epoll_event, kEventsPerWait> ready;
    const int count = epoll_wait(pollFd_, ready.data(), kEventsPerWait, std::max(timeoutMs, -1));
    bool accept = false;
    for (int k = 0; k < count; ++k) {
        const int fd = ready[static_cast<std::size_t>(k)].data.fd;
        if (fd == wakeFd_) {
            uint64_t wakes = 0;
            [[maybe_unused]] const ssize_t got = read(wakeFd_, &wakes, sizeof wakes);
        } else if (fd == listenFd_) {
            accept = true;
        } else if (Client* client = Find(fd)) {
            Serve(*client);
        }
    }
    // Clients first: a descriptor dropped on the way is reused only by an
    // accept, which comes last.
    if (accept) AcceptWaiting();
}

void Server::Wake() {
    if (wakeFd_ < 0) return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t put = write(wakeFd_, &one, sizeof one);
}

void Server::Stop() {
    CloseAll(true);
}

// A client beyond the limit is accepted and closed at once, so it learns at
// once instead of waiting in the backlog, unless a silent client yields its place.
void Server::AcceptWaiting() {
    for (int k = 0; k < kAcceptsPerCall; ++k) {
        AcceptedClient accepted = AcceptClient(listenFd_);
        if (accepted.fd < 0) return;
        if (!Admit(accepted)) {
            close(accepted.fd);
            continue;
        }
        if (clients_.size() >= options_.maxClients && !MakeRoom()) {
            close(accepted.fd);
            continue;
        }
        if (!Watch(pollFd_, accepted.fd)) {
            close(accepted.fd);
            continue;
        }
        auto client = std::make_unique<Client>();
        client->fd = accepted.fd;
        client->peer = std::move(accepted.peer);
        client->lastRequest = now_();
        clients_.push_back(std::move(client));
        if (events_.clientConnected) events_.clientConnected(clients_.back()->peer);
    }
}

bool Server::Admit(const AcceptedClient& client) {
    if (!options_.allow ||
        std::find(allowed_.begin(), allowed_.end(), client.address) != allowed_.end()) {
        return true;
    }
    if (refused_.size() < kRefusedTold && refused_.insert(client.address).second &&
        events_.clientRefused) {
        events_.clientRefused(client.host);
    }
    return false;
}

// Drops the client that has gone longest without a complete request, when it
// has been silent for long enough: a connection that never finishes a request
// cannot keep a polling client out.
bool Server::MakeRoom() {
    const auto longest = std::min_element(
        clients_.begin(), clients_.end(),
        [](const auto& a, const auto& b) { return a->lastRequest < b->lastRequest; });
    if (longest == clients_.end() || now_() - (*longest)->lastRequest < options_.yieldAfter) {
        return false;
    }
    Drop((*longest)->fd);
    return true;
}

void Server::Serve(Client& client) {
    const int fd = client.fd;
    for (int k = 0; k < kReadsPerCall; ++k) {
        const std::size_t room = client.received.size() - client.used;
        const ssize_t got = recv(fd, client.received.data() + client.used, room, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (got <= 0) {
            Drop(fd);  // closed by the peer, or failed
            return;
        }
        client.used += static_cast<std::size_t>(got);
        if (!AnswerReceived(client)) {
            Drop(fd);  // not speaking Modbus TCP, or not taking its replies
            return;
        }
        if (static_cast<std::size_t>(got) < room) return;  // the socket is drained
    }
}

// Answers every complete frame received so far, all replies in one write where
// they fit, and keeps the rest for later. False when the stream is bad or the
// replies did not go out whole.
bool Server::AnswerReceived(Client& client) {
    std::size_t start = 0;
    std::size_t gathered = 0;
    for (;;) {
        const FrameCheck frame = CheckFrame(client.received.data() + start, client.used - start);
        if (frame.status == FrameCheck::Bad) return false;
        if (frame.status == FrameCheck::Incomplete) break;
        client.lastRequest = now_();
        registers_.Serving(client.peer);
        if (replies_.size() - gathered < kMaxReplySize) {
            if (!SendAll(client.fd, replies_.data(), gathered)) return false;
            gathered = 0;
        }
        gathered += responder_.Answer(client.received.data() + start, frame.size,
                                      replies_.data() + gathered);
        start += frame.size;
    }
    if (gathered > 0 && !SendAll(client.fd, replies_.data(), gathered)) return false;
    std::memmove(client.received.data(), client.received.data() + start, client.used - start);
    client.used -= start;
    return true;
}

void Server::DropIdle() {
    if (clients_.empty()) return;
    const Clock::time_point now = now_();
    for (std::size_t k = clients_.size(); k-- > 0;) {
        if (now - clients_[k]->lastRequest >= options_.idleTimeout) Drop(clients_[k]->fd);
    }
}

void Server::Drop(int fd) {
    const auto it = std::find_if(clients_.begin(), clients_.end(),
                                 [fd](const auto& client) { return client->fd == fd; });
    if (it == clients_.end()) return;
    const std::string peer = std::move((*it)->peer);
    clients_.erase(it);
    epoll_ctl(pollFd_, EPOLL_CTL_DEL, fd, nullptr);
    close(fd);
    if (events_.clientDisconnected) events_.clientDisconnected(peer);
}

Server::Client* Server::Find(int fd) {
    for (const auto& client : clients_) {
        if (client->fd == fd) return client.get();
    }
    return nullptr;
}

void Server::CloseAll(bool tell) {
    while (!clients_.empty()) {
        if (tell) {
            Drop(clients_.back()->fd);
        } else {
            close(clients_.back()->fd);
            clients_.pop_back();
        }
    }
    for (int* fd : {&listenFd_, &pollFd_, &wakeFd_}) {
        if (*fd >= 0) close(*fd);
        *fd = -1;
    }
    port_ = 0;
}

}  // namespace modbus
