#include "console/ModbusLink.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <string>

#include "modbus/PlantExchange.h"
#include "modbus/PlantRegisters.h"
#include "modbus/Server.h"
#include "modbus/ServerThread.h"
#include "plant/Outlets.h"
#include "state/ModbusSection.h"

namespace console {

namespace {

// The clients the server lets in, for its start entry; nothing without Allow=.
std::string AllowedText(const state::ModbusSettings& settings) {
    if (!settings.allow) return {};
    if (settings.allow->empty()) return "\r\tклиенты: никакие";
    std::string list;
    for (const std::string& address : *settings.allow) {
        list += (list.empty() ? "" : ", ") + address;
    }
    return "\r\tклиенты: " + list;
}

}  // namespace

ModbusLink::ModbusLink(plant::Plant& plant, plant::JournalOutlet& journal, QObject* parent)
    : QObject(parent), plant_(plant), journal_(journal) {
    setObjectName("ModbusLink");
}

// The thread goes first: then nothing calls back, and the sockets close.
ModbusLink::~ModbusLink() {
    thread_.reset();
    server_.reset();
    delete wakeNotifier_;
    if (wakeFd_ >= 0) close(wakeFd_);
}

void ModbusLink::Start(const state::ModbusSection& section) {
    if (!section.wanted || server_) return;
    auto refuse = [this](const std::string& reason) {
        journal_.Append(" Сервер Modbus не запущен: " + reason, plant::JournalColour::Blue);
    };
    if (!section.error.empty()) {
        refuse(section.error);
        return;
    }
    const state::ModbusSettings& settings = section.settings;
    exchange_ = std::make_unique<modbus::PlantExchange>(plant_);
    registers_ = std::make_unique<modbus::PlantRegisters>(*exchange_);
    registers_->SetFaultsEnabled(settings.faults);
    modbus::ServerOptions options;
    options.address = settings.address;
    options.port = settings.port;
    options.writable = settings.writable;
    options.allow = settings.allow;
    modbus::ServerEvents events;
    events.clientConnected = [this](const std::string& peer) {
        Tell({" Подключен клиент Modbus " + peer, peer, 1});
    };
    events.clientDisconnected = [this](const std::string& peer) {
        Tell({" Отключен клиент Modbus " + peer, peer, 0});
    };
    events.clientRefused = [this](const std::string& host) {
        Tell({" Отклонен клиент Modbus " + host + " -\r\tадреса нет в списке Allow", host, 2});
    };
    server_ = std::make_unique<modbus::Server>(*registers_, options, std::move(events));
    modbus::ListenResult listening = server_->Listen();
    if (listening) {
        wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wakeFd_ < 0) listening = {false, server_->Endpoint() + ": " + std::strerror(errno)};
    }
    if (!listening) {
        server_.reset();
        registers_.reset();
        exchange_.reset();
        refuse(listening.error);
        return;
    }
    wakeNotifier_ = new QSocketNotifier(wakeFd_, QSocketNotifier::Read, this);
    connect(wakeNotifier_, &QSocketNotifier::activated, this, &ModbusLink::JournalClients);
    journal_.Append(" Сервер Modbus запущен: " + server_->Endpoint() +
                        (settings.writable ? "" : " (только чтение)") + AllowedText(settings),
                    plant::JournalColour::Default);
    exchange_->Publish();
    thread_ = std::make_unique<modbus::ServerThread>(*server_);
}

void ModbusLink::TakeCommands() {
    if (exchange_) exchange_->TakeCommands();
}

void ModbusLink::Publish() {
    if (exchange_) exchange_->Publish();
}

uint16_t ModbusLink::Port() const {
    return server_ ? server_->Port() : 0;
}

void ModbusLink::Tell(Told told) {
    {
        const std::lock_guard lock(toldMutex_);
        told_.push_back(std::move(told));
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t put = write(wakeFd_, &one, sizeof one);
}

void ModbusLink::JournalClients() {
    uint64_t wakes = 0;
    [[maybe_unused]] const ssize_t got = read(wakeFd_, &wakes, sizeof wakes);
    std::vector<Told> told;
    {
        const std::lock_guard lock(toldMutex_);
        told.swap(told_);
    }
    // The client's address is who the entry is about.
    for (const Told& entry : told) {
        journal_.Append(
            entry.body, plant::JournalColour::Blue,
            plant::SystemTag(plant::EntryKind::ModbusClient, entry.detail, entry.peer));
    }
}

}  // namespace console
