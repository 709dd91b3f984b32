#include <gtest/gtest.h>
#include <modbus/modbus.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "archive/Reader.h"
#include "tests/app/ConsoleProcess.h"

// The real console with its event archive on, killed with SIGKILL while a
// Modbus client makes it journal a burst of entries: the file loses at most
// the last second and passes SQLite's integrity check. Five rounds here;
// `make soak` runs fifty (ARCHIVE_KILL_ROUNDS).

namespace {

using namespace console_process;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kMarkerDevice = 5;  // "Задвижка М5", put in Repair mode once
constexpr int kRepairMode = 3;

int Rounds() {
    const char* rounds = std::getenv("ARCHIVE_KILL_ROUNDS");
    const int n = rounds != nullptr ? std::atoi(rounds) : 0;
    return n > 0 ? n : 5;
}

// The entries of the file that hold `text`, or nothing while the file cannot
// be read yet.
std::vector<archive::Row> Holding(const fs::path& db, const std::string& text) {
    std::string error;
    const auto reader = archive::Reader::Open(db.string(), error);
    if (!reader) return {};
    archive::Filter filter;
    filter.text = text;
    return reader->Entries(filter, std::nullopt, 10).rows;
}

template <typename Done>
bool WaitFor(Done done, std::chrono::milliseconds limit = 30s) {
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::string IntegrityCheck(const fs::path& db) {
    sqlite3* connection = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open(db.c_str(), &connection) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(connection, "PRAGMA integrity_check", -1, &statement, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(connection);
    return result;
}

struct Client {
    ~Client() {
        if (context != nullptr) {
            modbus_close(context);
            modbus_free(context);
        }
    }
    modbus_t* context = nullptr;
};

class ArchiveKill : public ScratchConsole, public testing::WithParamInterface<int> {};

TEST_P(ArchiveKill, LosesAtMostTheLastSecondAndLeavesASoundFile) {
    const fs::path db = folder_ / "GrainTerminal.db";
    std::ofstream(state_, std::ios::binary) << "[Archive]\n[Modbus]\nPort=0\n";
    pid_ = Spawn({program_.string()}, Environment({"QT_QPA_PLATFORM=offscreen"}));
    ASSERT_GT(pid_, 0);

    // The console journals the port it serves, and so does its archive.
    std::vector<archive::Row> started;
    ASSERT_TRUE(WaitFor([&] { return !(started = Holding(db, "Сервер Modbus запущен")).empty(); }));
    const std::string& text = started.front().text;
    const int port = std::stoi(text.substr(text.rfind(':') + 1));

    Client client;
    client.context = modbus_new_tcp("127.0.0.1", port);
    ASSERT_EQ(modbus_connect(client.context), 0);
    // The other seventeen devices switch between Local and Remote mode, a
    // command each every 50 ms: two entries per device in most cycles.
    uint16_t mode = 21;
    auto burst = [&](std::chrono::milliseconds length) {
        const auto end = Clock::now() + length;
        while (Clock::now() < end) {
            mode = mode == 21 ? 20 : 21;
            const uint16_t codes[18] = {mode, mode, mode, mode, mode, mode, mode, mode, mode,
                                        mode, mode, mode, mode, mode, mode, mode, mode, mode};
            modbus_write_registers(client.context, 0, kMarkerDevice - 1, codes);
            modbus_write_registers(client.context, kMarkerDevice, 18 - kMarkerDevice, codes);
            std::this_thread::sleep_for(50ms);
        }
    };
    burst(600ms);
    // The marker: once the device shows Repair mode, its entry was journalled.
    ASSERT_EQ(modbus_write_register(client.context, kMarkerDevice - 1, 23), 1);
    ASSERT_TRUE(WaitFor([&] {
        uint16_t shown = 0;
        return modbus_read_input_registers(client.context, 4 * (kMarkerDevice - 1), 1, &shown) ==
                   1 &&
               shown == kRepairMode;
    }));
    burst(1200ms);
    ASSERT_EQ(::kill(pid_, SIGKILL), 0);
    EXPECT_EQ(Exit(), 1000 + SIGKILL);

    EXPECT_EQ(IntegrityCheck(db), "ok");
    const std::vector<archive::Row> marker = Holding(db, "РЕМОНТНЫЙ режим");
    ASSERT_FALSE(marker.empty()) << "an entry more than a second old was lost";
    EXPECT_EQ(marker.front().subject, archive::Subject::Device(kMarkerDevice));
    // The command taken names the client's address as who gave it.
    EXPECT_TRUE(std::any_of(marker.begin(), marker.end(), [](const archive::Row& row) {
        return row.source.rfind("127.0.0.1:", 0) == 0;
    }));
    EXPECT_GT(Holding(db, "режим").size(), 5u);
    // The client's arrival is tagged with its address.
    const std::vector<archive::Row> connected = Holding(db, "Подключен клиент Modbus");
    ASSERT_FALSE(connected.empty());
    EXPECT_EQ(connected.front().kind, archive::Kind::ModbusClient);
    EXPECT_EQ(connected.front().source.rfind("127.0.0.1:", 0), 0u) << connected.front().source;
}

INSTANTIATE_TEST_SUITE_P(Round, ArchiveKill, testing::Range(0, Rounds()));

}  // namespace
