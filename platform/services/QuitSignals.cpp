#include "platform/services/QuitSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>

namespace platform {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// [0] is written by the handler, [1] read by the event loop.
int pair_[2] = {-1, -1};

void OnSignal(int signalNumber) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pair_[0], &number, 1);
    errno = saved;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair_) != 0) return;
    // A handler must never block, even if the loop has stopped reading.
    ::fcntl(pair_[0], F_SETFL, ::fcntl(pair_[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(pair_[1], F_SETFL, ::fcntl(pair_[1], F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(pair_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::ReadPending);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals) ::sigaction(number, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    delete notifier_;  // before its socket is closed
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int number : kSignals) ::sigaction(number, &action, nullptr);
    for (int& fd : pair_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void QuitSignals::ReadPending() {
    unsigned char number = 0;
    while (::read(pair_[1], &number, 1) == 1) emit Received(number);
}

}  // namespace platform
