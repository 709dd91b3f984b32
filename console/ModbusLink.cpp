#include "console/ModbusLink.h"

#include <QSocketNotifier>
#include <string>

#include "modbus/PlantRegisters.h"
#include "modbus/Server.h"
#include "plant/Outlets.h"
#include "state/ModbusSection.h"

namespace console {

ModbusLink::ModbusLink(plant::Plant& plant, const plant::Controller& controller,
                       const plant::Wagons& wagons, plant::JournalOutlet& journal, QObject* parent)
    : QObject(parent), plant_(plant), controller_(controller), wagons_(wagons), journal_(journal) {
    setObjectName("ModbusLink");
}

// The notifiers go before the server closes their sockets.
ModbusLink::~ModbusLink() {
    for (auto& [fd, notifier] : notifiers_) delete notifier;
    notifiers_.clear();
    server_.reset();
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
    registers_ = std::make_unique<modbus::PlantRegisters>(plant_, controller_, &wagons_);
    registers_->SetFaultsEnabled(settings.faults);

    modbus::ServerOptions options;
    options.address = settings.address;
    options.port = settings.port;
    options.writable = settings.writable;
    // The callbacks come from inside the server's calls and only watch, unwatch
    // and journal: none of them calls back into it.
    modbus::ServerEvents events;
    events.fdAdded = [this](int fd) { Watch(fd); };
    events.fdRemoved = [this](int fd) { Unwatch(fd); };
    events.clientConnected = [this](const std::string& peer) {
        journal_.Append(" Подключен клиент Modbus " + peer, plant::JournalColour::Blue);
    };
    events.clientDisconnected = [this](const std::string& peer) {
        journal_.Append(" Отключен клиент Modbus " + peer, plant::JournalColour::Blue);
    };
    server_ = std::make_unique<modbus::Server>(*registers_, options, std::move(events));
    const modbus::ListenResult listening = server_->Listen();
    if (!listening) {
        server_.reset();
        registers_.reset();
        refuse(listening.error);
        return;
    }
    journal_.Append(" Сервер Modbus запущен: " + server_->Endpoint() +
                        (settings.writable ? "" : " (только чтение)"),
                    plant::JournalColour::Default);
}

void ModbusLink::Cycle() {
    if (server_) server_->DropIdle();
}

uint16_t ModbusLink::Port() const {
    return server_ ? server_->Port() : 0;
}

void ModbusLink::Watch(int fd) {
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier] { Readable(notifier); });
    notifiers_[fd] = notifier;
}

// The server may drop a client from inside that client's notification: the
// notifier is switched off at once and deleted once the event loop is back.
void ModbusLink::Unwatch(int fd) {
    const auto found = notifiers_.find(fd);
    if (found == notifiers_.end()) return;
    found->second->setEnabled(false);
    found->second->deleteLater();
    notifiers_.erase(found);
}

void ModbusLink::Readable(QSocketNotifier* notifier) {
    if (server_ && notifier->isEnabled()) server_->OnReadable(static_cast<int>(notifier->socket()));
}

}  // namespace console
