#include "modbus/Server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "modbus/Listener.h"
#include "modbus/Responder.h"

namespace modbus {

namespace {

// Work done for one readable descriptor before the host gets its thread back:
// a client that floods the server cannot hold up the controller cycle.
constexpr int kReadsPerCall = 4;
constexpr int kAcceptsPerCall = 32;

}  // namespace

Server::Server(RegisterMap& registers, ServerOptions options, ServerEvents events,
               std::function<Clock::time_point()> now)
    : registers_(registers),
      options_(std::move(options)),
      events_(std::move(events)),
      now_(std::move(now)) {}

Server::~Server() {
    CloseAll(false);
}

ListenResult Server::Listen() {
    if (listenFd_ >= 0) {
        return {false, options_.address + ":" + std::to_string(port_) + ": already listening"};
    }
    if (!responder_) responder_ = std::make_unique<Responder>(registers_, options_.writable);
    const ListenSocket socket = OpenListenSocket(options_.address, options_.port);
    if (socket.fd < 0) return {false, socket.error};
    listenFd_ = socket.fd;
    port_ = socket.port;
    if (events_.fdAdded) events_.fdAdded(listenFd_);
    return {true, {}};
}

std::string Server::Endpoint() const {
    if (listenFd_ < 0) return {};
    const std::string& address = options_.address;
    const bool v6 = address.find(':') != std::string::npos;
    return (v6 ? "[" + address + "]" : address) + ":" + std::to_string(port_);
}

std::vector<int> Server::Fds() const {
    std::vector<int> fds;
    if (listenFd_ >= 0) fds.push_back(listenFd_);
    for (const auto& client : clients_) fds.push_back(client->fd);
    return fds;
}

void Server::OnReadable(int fd) {
    if (fd < 0) return;
    if (fd == listenFd_) {
        AcceptWaiting();
    } else if (Client* client = Find(fd)) {
        Serve(*client);
    }
}

void Server::Poll(int timeoutMs) {
    DropIdle();
    std::vector<pollfd> watched;
    watched.reserve(clients_.size() + 1);
    for (const auto& client : clients_) watched.push_back({client->fd, POLLIN, 0});
    if (listenFd_ >= 0) watched.push_back({listenFd_, POLLIN, 0});
    if (watched.empty()) return;
    if (poll(watched.data(), watched.size(), std::max(timeoutMs, 0)) <= 0) return;
    // Clients first: a descriptor dropped on the way is reused only by an
    // accept, which comes last.
    for (const pollfd& entry : watched) {
        if (entry.revents != 0) OnReadable(entry.fd);
    }
}

void Server::DropIdle() {
    const Clock::time_point now = now_();
    std::vector<int> idle;
    for (const auto& client : clients_) {
        if (now - client->lastRequest >= options_.idleTimeout) idle.push_back(client->fd);
    }
    for (int fd : idle) Drop(fd);
}

void Server::Stop() {
    CloseAll(true);
}

// A client beyond the limit is accepted and closed at once, so it learns at
// once instead of waiting in the backlog.
void Server::AcceptWaiting() {
    for (int k = 0; k < kAcceptsPerCall; ++k) {
        AcceptedClient accepted = AcceptClient(listenFd_);
        if (accepted.fd < 0) return;
        if (clients_.size() >= options_.maxClients) {
            close(accepted.fd);
            continue;
        }
        auto client = std::make_unique<Client>();
        client->fd = accepted.fd;
        client->peer = std::move(accepted.peer);
        client->lastRequest = now_();
        clients_.push_back(std::move(client));
        const Client& added = *clients_.back();
        if (events_.fdAdded) events_.fdAdded(added.fd);
        if (events_.clientConnected) events_.clientConnected(added.peer);
    }
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

// Answers every complete frame received so far and keeps the rest for later.
// False when the stream is bad or a reply did not go out whole.
bool Server::AnswerReceived(Client& client) {
    std::size_t start = 0;
    for (;;) {
        const FrameCheck frame = CheckFrame(client.received.data() + start, client.used - start);
        if (frame.status == FrameCheck::Bad) return false;
        if (frame.status == FrameCheck::Incomplete) break;
        client.lastRequest = now_();
        registers_.Serving(client.peer);
        if (!responder_->Answer(client.fd, client.received.data() + start, frame.size)) {
            return false;
        }
        start += frame.size;
    }
    std::memmove(client.received.data(), client.received.data() + start, client.used - start);
    client.used -= start;
    return true;
}

void Server::Drop(int fd) {
    const auto it = std::find_if(clients_.begin(), clients_.end(),
                                 [fd](const auto& client) { return client->fd == fd; });
    if (it == clients_.end()) return;
    const std::string peer = std::move((*it)->peer);
    clients_.erase(it);
    if (events_.fdRemoved) events_.fdRemoved(fd);
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
    if (listenFd_ < 0) return;
    if (tell && events_.fdRemoved) events_.fdRemoved(listenFd_);
    close(listenFd_);
    listenFd_ = -1;
    port_ = 0;
}

}  // namespace modbus
