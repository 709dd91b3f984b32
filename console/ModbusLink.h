#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <unordered_map>

class QSocketNotifier;

namespace modbus {
class PlantRegisters;
class Server;
}  // namespace modbus

namespace plant {
class Controller;
class JournalOutlet;
class Wagons;
struct Plant;
}  // namespace plant

namespace state {
struct ModbusSection;
}  // namespace state

namespace console {

// Serves the plant over Modbus TCP on the window's thread, while the console
// runs and the state file's section [Modbus] asks for it. The server's sockets
// are watched by socket notifiers of the event loop, so a request is answered
// between two controller cycles, and no client, however slow or silent, holds
// up the cycle or the window: the server never waits. Clients coming and going
// are journalled in blue.
class ModbusLink : public QObject {
    Q_OBJECT

public:
    ModbusLink(plant::Plant& plant, const plant::Controller& controller,
               const plant::Wagons& wagons, plant::JournalOutlet& journal,
               QObject* parent = nullptr);
    ~ModbusLink() override;

    // Starts serving as the section says (once); without a section, nothing.
    // An unusable setting or a port that cannot be listened on is journalled
    // once, and the console runs on without the server.
    void Start(const state::ModbusSection& section);
    // Once per controller cycle: drops the clients that have gone idle.
    void Cycle();

    // The port served, 0 while not serving.
    uint16_t Port() const;

private:
    void Watch(int fd);
    void Unwatch(int fd);
    void Readable(QSocketNotifier* notifier);

    plant::Plant& plant_;
    const plant::Controller& controller_;
    const plant::Wagons& wagons_;
    plant::JournalOutlet& journal_;
    std::unique_ptr<modbus::PlantRegisters> registers_;
    std::unique_ptr<modbus::Server> server_;
    std::unordered_map<int, QSocketNotifier*> notifiers_;
};

}  // namespace console
