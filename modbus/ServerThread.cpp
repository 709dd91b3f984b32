#include "modbus/ServerThread.h"

#include "modbus/Server.h"

namespace modbus {

namespace {

// The longest wait: idle clients are looked for at least this often.
constexpr int kIdleCheckMs = 1000;

}  // namespace

ServerThread::ServerThread(Server& server) : server_(server), thread_([this] { Run(); }) {}

ServerThread::~ServerThread() {
    stop_ = true;
    server_.Wake();
    thread_.join();
}

void ServerThread::Run() {
    while (!stop_) server_.Poll(kIdleCheckMs);
}

}  // namespace modbus
