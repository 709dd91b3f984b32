#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QSocketNotifier;

namespace modbus {
class PlantExchange;
class PlantRegisters;
class Server;
class ServerThread;
}  // namespace modbus

namespace plant {
class JournalOutlet;
struct Plant;
}  // namespace plant

namespace state {
struct ModbusSection;
}  // namespace state

namespace console {

// Serves the plant over Modbus TCP while the console runs and the state file's
// section [Modbus] asks for it. The server runs on a thread of its own, so its
// clients are answered while the window's thread waits (a sound plays to its
// end inside a controller cycle). It answers from the register image the
// window publishes after every controller cycle and every wagon tick, and
// queues the commands it is sent for the next cycle to take over: the cycle
// stays the only writer of the plant tables. Clients coming and going are
// journalled in blue, on the window's thread.
class ModbusLink : public QObject {
    Q_OBJECT

public:
    ModbusLink(plant::Plant& plant, plant::JournalOutlet& journal, QObject* parent = nullptr);
    // Stops the server's thread, then closes the sockets without journalling.
    ~ModbusLink() override;

    // Starts serving as the section says (once); without a section, nothing.
    // An unusable setting or a port that cannot be listened on is journalled
    // once, and the console runs on without the server.
    void Start(const state::ModbusSection& section);
    // At the start of a controller cycle: posts the commands clients wrote.
    void TakeCommands();
    // After a controller cycle or a wagon tick: the server answers from now on
    // with the plant as it stands. Allocates nothing.
    void Publish();

    // The port served, 0 while not serving.
    uint16_t Port() const;

private:
    // A client came, went or was refused, told by the server's thread.
    struct Told {
        std::string body;
        std::string peer;
        int16_t detail = 0;  // the ModbusClient tag's: 1 came, 0 went, 2 refused
    };
    // Called on the server's thread: keeps the entry and wakes the window.
    void Tell(Told told);
    // On the window's thread: journals what the server's thread kept.
    void JournalClients();

    plant::Plant& plant_;
    plant::JournalOutlet& journal_;
    std::unique_ptr<modbus::PlantExchange> exchange_;
    std::unique_ptr<modbus::PlantRegisters> registers_;
    std::unique_ptr<modbus::Server> server_;
    std::unique_ptr<modbus::ServerThread> thread_;

    // Journal entries from the server's thread, and the eventfd that wakes
    // the window's event loop for them.
    std::mutex toldMutex_;
    std::vector<Told> told_;
    int wakeFd_ = -1;
    QSocketNotifier* wakeNotifier_ = nullptr;
};

}  // namespace console
