#include <modbus/modbus.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "console/ModbusLink.h"
#include "console/WidgetColours.h"
#include "modbus/PlantRegisters.h"
#include "platform/services/WavePlayer.h"
#include "symbols/Conveyor.h"
#include "tests/console/FrmMainFixture.h"
#include "tests/modbus/ModbusRig.h"

// The console serving its plant over Modbus TCP: libmodbus clients on other
// threads, the window's event loop on the test's thread, and the controller
// cycle driven by hand.
namespace console_test {
namespace {

using modbus_test::Frame;
using modbus_test::RawClient;

constexpr int kCycles = 300;

class ModbusConsole : public FrmMainTest {
protected:
    ~ModbusConsole() override {
        for (modbus_t* client : clients_) {
            modbus_close(client);
            modbus_free(client);
        }
    }

    void WriteState(const std::string& text) { std::ofstream(StatePath()) << text; }
    std::string ReadState() {
        std::ifstream in(StatePath());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Start-up, then the controller, wagon and save timers are held, so that
    // only the test runs the cycle.
    void Start() {
        RunStartup();
        for (const char* timer : {"TimerEmulCPU", "TimerVagonOn", "TimerSaveState"}) {
            Find<QTimer>(timer)->stop();
        }
    }

    console::ModbusLink& Link() { return *Find<console::ModbusLink>("ModbusLink"); }

    // Lets the window's event loop run until `done` holds (a bounded number of rounds).
    bool ServeUntil(const std::function<bool()>& done) {
        for (int k = 0; k < 5000; ++k) {
            if (done()) return true;
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return done();
    }

    // Runs a blocking client call on a second thread while the window serves.
    template <typename Call>
    auto WhileServing(Call call) {
        auto result = std::async(std::launch::async, call);
        ServeUntil(
            [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
        return result.get();
    }

    // A libmodbus client of the window's server; a loopback connect completes
    // in the listen backlog, before the window accepts it.
    modbus_t* Connect() {
        modbus_t* client = modbus_new_tcp("127.0.0.1", Link().Port());
        modbus_set_response_timeout(client, 5, 0);
        clients_.push_back(client);
        EXPECT_EQ(modbus_connect(client), 0);
        return client;
    }
    // The exception code of a failed call, 0 when it succeeded.
    static int Outcome(int rc) { return rc < 0 ? static_cast<int>(errno - MODBUS_ENOBASE) : 0; }
    int Write(modbus_t* client, int address, uint16_t value) {
        return WhileServing([=] { return Outcome(modbus_write_register(client, address, value)); });
    }
    // The cycle counter as the client reads it; -1 when the read fails.
    long CyclesRead(modbus_t* client) {
        return WhileServing([=] {
            uint16_t words[2] = {};
            if (modbus_read_input_registers(client, kCycles, 2, words) != 2) return -1L;
            return static_cast<long>(words[0]) << 16 | words[1];
        });
    }
    // The client's own address as the server sees it.
    static std::string PeerOf(int fd) {
        sockaddr_in local{};
        socklen_t size = sizeof local;
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size);
        return "127.0.0.1:" + std::to_string(ntohs(local.sin_port));
    }

    int JournalCount(const QString& needle) { return JournalLines().filter(needle).size(); }

private:
    std::vector<modbus_t*> clients_;
};

TEST_F(ModbusConsole, ServesFromTheControllerStartAndJournalsEachClientInBlue) {
    WriteState("[Modbus]\nPort=0\n");
    Form().FormActivate();
    for (int step = 0; step < 3; ++step) StartupTick();
    EXPECT_EQ(Link().Port(), 0);
    StartupTick();
    const uint16_t port = Link().Port();
    ASSERT_NE(port, 0);
    EXPECT_EQ(JournalCount(QString(" Сервер Modbus запущен: 127.0.0.1:%1").arg(port)), 1);

    modbus_t* client = Connect();
    const QString peer = QString::fromStdString(PeerOf(modbus_get_socket(client)));
    EXPECT_EQ(CyclesRead(client), 0);
    ControllerTicks(3);
    EXPECT_EQ(CyclesRead(client), 3);
    const QString connected = " Подключен клиент Modbus " + peer;
    EXPECT_TRUE(ServeUntil([&] { return JournalCount(connected) == 1; }));
    EXPECT_EQ(JournalColourOf(connected), QColor(Qt::blue));

    // Without Faults=1 the trainer's registers are not there.
    EXPECT_EQ(Write(client, modbus::layout::kFaultCodes + 13, plant::kFaultTrip),
              MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
    EXPECT_EQ(Form().plant().Faults[14].Pending, false);

    modbus_close(client);
    const QString disconnected = " Отключен клиент Modbus " + peer;
    EXPECT_TRUE(ServeUntil([&] { return JournalCount(disconnected) == 1; }));
    EXPECT_EQ(JournalColourOf(disconnected), QColor(Qt::blue));
}

// Allow= leaves every other address out: such a client is closed at once, by
// the server's thread, and journalled once however often it comes back.
TEST_F(ModbusConsole, AllowClosesOtherAddressesAndJournalsEachOnce) {
    WriteState("[Modbus]\nPort=0\nAllow=127.0.0.2, ::1\n");
    Start();
    EXPECT_EQ(JournalCount("клиенты: 127.0.0.2, ::1"), 1);
    const QString refused = " Отклонен клиент Modbus 127.0.0.1 -";
    for (int k = 0; k < 2; ++k) {
        RawClient stranger(Link().Port());
        pollfd hangUp{stranger.Fd(), POLLIN, 0};
        ASSERT_EQ(poll(&hangUp, 1, 5000), 1) << k;
        char byte = 0;
        EXPECT_EQ(recv(stranger.Fd(), &byte, 1, 0), 0) << "closed at once";
        EXPECT_TRUE(ServeUntil([&] { return JournalCount(refused) >= 1; })) << k;
    }
    // The server told of the second one, if at all, before it closed it.
    for (int k = 0; k < 10; ++k) QCoreApplication::processEvents();
    EXPECT_EQ(JournalCount(refused), 1);
    EXPECT_EQ(JournalColourOf(refused), QColor(Qt::blue));
    EXPECT_EQ(JournalCount("Подключен"), 0);
}

// The same operator history once over Modbus and once by panel clicks writes
// the same journal: a refusal in Local mode, then Remote mode and the valve
// opening.
TEST_F(ModbusConsole, DeviceCommandsAreTakenAndJournalledAsThePanelsAre) {
    const QDateTime start = clock;
    WriteState("[Modbus]\nPort=0\n");
    Start();
    modbus_t* client = Connect();
    for (const uint16_t code : {plant::kCmdOpen, plant::kCmdRemote, plant::kCmdOpen}) {
        ASSERT_EQ(Write(client, 0, code), 0);
        ControllerTicks(code == plant::kCmdRemote ? 1 : 11);
    }
    EXPECT_EQ(Form().plant().Dev[1].Ungle, 30);
    EXPECT_EQ(JournalColourOf("отклонена - устройство в местном режиме"), QColor(Qt::blue));
    const QStringList overModbus = JournalLines().filter(QRegularExpression("^(?!.*Modbus)"));

    form.reset();
    std::filesystem::remove(StatePath());
    clock = start;
    Start();
    QTest::mouseClick(Find("Latch_1"), Qt::LeftButton);
    for (const char* button : {"BtnOn", "BtnRemote", "BtnOn"}) {
        QTest::mouseClick(Find(button), Qt::LeftButton);
        ControllerTicks(std::string(button) == "BtnRemote" ? 1 : 11);
    }
    EXPECT_EQ(Form().plant().Dev[1].Ungle, 30);
    EXPECT_EQ(JournalLines(), overModbus);
}

// An instructor trips conveyor 3.2 over Modbus: the trainee's window alarms and
// the fault stands in the input registers until the instructor clears it.
TEST_F(ModbusConsole, TrainerFaultWrittenOverModbusAlarmsTheWindow) {
    WriteState("[Modbus]\nPort=0\nFaults=1\n");
    Start();
    modbus_t* client = Connect();
    auto faultStands = [&] {
        return WhileServing([=] {
            uint16_t flag = 9;
            const int got =
                modbus_read_input_registers(client, modbus::layout::kFaultFlags + 13, 1, &flag);
            return got == 1 ? flag : -1;
        });
    };
    ASSERT_EQ(Write(client, modbus::layout::kFaultCodes + 13, plant::kFaultTrip), 0);
    ControllerTicks(2);  // taken over, then shown
    EXPECT_TRUE(Find<symbols::TConveyor>("Conveyor2")->Alarm());
    EXPECT_EQ(console::FontColour(Find("TabloStop")), palette::Red);
    EXPECT_EQ(JournalColourOf("Конвейер 3.2 Изменение состояния"), QColor(Qt::red));
    EXPECT_EQ(faultStands(), 1);

    ASSERT_EQ(Write(client, modbus::layout::kFaultCodes + 13, plant::kFaultNone), 0);
    ControllerTicks(1);
    EXPECT_EQ(faultStands(), 0);
    EXPECT_TRUE(Find<symbols::TConveyor>("Conveyor2")->Alarm());  // until the operator resets it
}

TEST_F(ModbusConsole, ReadOnlyServerRefusesWritesAndKeepsItsSectionThroughSaves) {
    const std::string section = "[Modbus]\nPort=0\nWrite=0\n";
    WriteState(section);
    Start();
    EXPECT_EQ(JournalCount(" (только чтение)"), 1);
    modbus_t* client = Connect();
    EXPECT_EQ(Write(client, 0, plant::kCmdRemote), MODBUS_EXCEPTION_ILLEGAL_FUNCTION);
    EXPECT_EQ(Form().plant().Dev[1].Command, 0);
    EXPECT_EQ(CyclesRead(client), 0);

    Form().plant().Dev[4].Mode = plant::kModeRemote;
    Form().TimerSaveStateTimer();
    EXPECT_NE(ReadState().find("[Dev4]"), std::string::npos);
    EXPECT_NE(ReadState().find(section), std::string::npos) << ReadState();
    ASSERT_TRUE(Form().close());
    EXPECT_NE(ReadState().find(section), std::string::npos) << ReadState();
}

TEST_F(ModbusConsole, WithoutTheSectionNoSocketIsOpened) {
    WriteState("[Dev3]\nMode=1\n[Modbus]\nAddress=127.0.0.1\n");
    Start();
    EXPECT_EQ(Form().plant().Dev[3].Mode, plant::kModeRemote);
    EXPECT_EQ(Link().Port(), 0);
    EXPECT_TRUE(Link().findChildren<QSocketNotifier*>().isEmpty());
    EXPECT_EQ(JournalCount("Modbus"), 0);
}

// A section the console cannot serve by is journalled once, in blue, and the
// console runs on without a server. "@" in a section stands for a port another
// socket already listens on.
struct Unusable {
    const char* name;
    std::string section;
    std::string reason;
};

class UnusableModbusSection : public ModbusConsole,
                              public ::testing::WithParamInterface<Unusable> {};

TEST_P(UnusableModbusSection, IsJournalledOnce) {
    modbus_test::ModbusRig other;  // holds a loopback port
    const std::string taken = std::to_string(other.server.Port());
    auto expand = [&](std::string text) {
        if (const std::size_t at = text.find('@'); at != std::string::npos) {
            text.replace(at, 1, taken);
        }
        return text;
    };
    WriteState(expand(GetParam().section));
    Start();
    const QString line =
        QString::fromStdString(" Сервер Modbus не запущен: " + expand(GetParam().reason));
    EXPECT_EQ(JournalCount(line), 1) << JournalLines().join('\n').toStdString();
    EXPECT_EQ(JournalColourOf(line), QColor(Qt::blue));
    EXPECT_EQ(Link().Port(), 0);
    ControllerTicks(3);
    EXPECT_EQ(JournalCount("Modbus"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, UnusableModbusSection,
    ::testing::Values(Unusable{"PortNotANumber", "[Modbus]\nPort=modbus\n",
                               "Port=modbus - ожидается целое число от 0 до 65535"},
                      Unusable{"PortTooLarge", "[Modbus]\nPort=65536\n",
                               "Port=65536 - ожидается целое число от 0 до 65535"},
                      Unusable{"WriteNeitherZeroNorOne", "[Modbus]\nPort=0\nWrite=yes\n",
                               "Write=yes - ожидается целое число от 0 до 1"},
                      Unusable{"FaultsNeitherZeroNorOne", "[Modbus]\nPort=0\nFaults=2\n",
                               "Faults=2 - ожидается целое число от 0 до 1"},
                      Unusable{"AddressNotNumeric", "[Modbus]\nPort=0\nAddress=localhost\n",
                               "localhost:0: not a numeric IP address"},
                      Unusable{"AllowNotNumeric", "[Modbus]\nPort=0\nAllow=127.0.0.1, pc-7\n",
                               "Allow=127.0.0.1, pc-7 - pc-7 не числовой IP-адрес"},
                      Unusable{"PortInUse", "[Modbus]\nPort=@\n",
                               "127.0.0.1:@: Address already in use"}),
    [](const auto& info) { return std::string(info.param.name); });

// A wave player that holds the window's thread for 3 s on the route start's
// announcement, as a real sound server does, and notes when it did.
class SlowPlayer : public platform::WavePlayer {
public:
    using Clock = std::chrono::steady_clock;
    void Play(const std::string& file) override {
        if (file != "RouteStart.wav") return;
        holding = true;
        const Clock::time_point start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        from = start;
        until = Clock::now();
        holding = false;
    }
    std::atomic<bool> holding{false};
    Clock::time_point from, until;  // read once Play has returned
};

// While a route start's announcement holds the window's thread, a client that
// reads every 50 ms is answered within 100 ms each time and sees the cycle
// counter stand still; a command written meanwhile is taken over by the first
// cycle after the announcement.
TEST_F(ModbusConsole, ClientsAreAnsweredWhileASoundHoldsTheWindow) {
    using Clock = SlowPlayer::Clock;
    SlowPlayer player;
    services.player = &player;
    WriteState("[Modbus]\nPort=0\n");
    Start();
    ControllerTicks(2);
    modbus_t* poller = Connect();
    modbus_t* writer = Connect();
    ASSERT_EQ(Write(writer, modbus::layout::kRouteCommands, plant::kRouteCmdStart), 0);

    struct Answer {
        Clock::time_point asked, answered;
        long cycle;
    };
    std::atomic<bool> polling{true};
    auto answers = std::async(std::launch::async, [&] {
        std::vector<Answer> seen;
        for (Clock::time_point next = Clock::now(); polling;
             next += std::chrono::milliseconds(50)) {
            std::this_thread::sleep_until(next);
            uint16_t totals[10] = {};
            const Clock::time_point asked = Clock::now();
            const int got = modbus_read_input_registers(poller, kCycles, 10, totals);
            seen.push_back({asked, Clock::now(),
                            got == 10 ? static_cast<long>(totals[0]) << 16 | totals[1] : -1});
        }
        return seen;
    });
    // The remote-mode command for valve М1, written a second into the hold.
    auto written = std::async(std::launch::async, [&] {
        while (!player.holding) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const Clock::time_point asked = Clock::now();
        const int rc = Outcome(modbus_write_register(writer, 0, plant::kCmdRemote));
        return std::make_pair(rc, Clock::now() - asked);
    });

    ControllerTicks(1);  // takes the route's start over and plays its sounds
    ASSERT_EQ(written.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    const auto [rc, took] = written.get();
    EXPECT_EQ(rc, 0);
    EXPECT_LT(took, std::chrono::milliseconds(100));
    EXPECT_EQ(Form().plant().Route[1].State, plant::kRouteStarting);
    EXPECT_EQ(Form().plant().Dev[1].Mode, plant::kModeLocal);
    ControllerTicks(1);
    EXPECT_EQ(Form().plant().Dev[1].Mode, plant::kModeRemote);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    polling = false;

    int during = 0;
    for (const Answer& a : answers.get()) {
        EXPECT_LT(a.answered - a.asked, std::chrono::milliseconds(100));
        if (a.asked < player.from || a.answered > player.until) continue;
        ++during;
        EXPECT_EQ(a.cycle, 2);  // the counter stands still
    }
    EXPECT_GE(during, 40);
}

// A client that sends half a frame and then nothing, and more connections than
// the server takes: the event loop never waits on them, the cycle runs, and a
// well-behaved client is still answered.
TEST_F(ModbusConsole, SilentAndSurplusClientsDoNotHoldUpTheCycle) {
    WriteState("[Modbus]\nPort=0\n");
    Start();
    modbus_t* client = Connect();
    ASSERT_EQ(CyclesRead(client), 0);

    RawClient silent(Link().Port());
    std::vector<uint8_t> half = Frame({4, 0x01, 0x2C, 0, 9});
    half.resize(9);
    ASSERT_EQ(silent.Send(half), half.size());
    std::vector<std::unique_ptr<RawClient>> crowd;
    for (int k = 0; k < 40; ++k) {
        crowd.push_back(std::make_unique<RawClient>(Link().Port()));
        QCoreApplication::processEvents();  // keeps the listen backlog from filling up
    }
    ServeUntil([&] { return JournalCount("Подключен клиент Modbus") == 16; });
    for (int k = 0; k < 50; ++k) QCoreApplication::processEvents();

    for (int round = 1; round <= 3; ++round) {
        ControllerTicks(10);
        EXPECT_EQ(CyclesRead(client), 10 * round);
    }
    EXPECT_EQ(JournalCount("Подключен клиент Modbus"), 16);
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
