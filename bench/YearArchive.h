#pragma once

// The archive of a working year that the archive's benchmarks and the
// console's read: 1,000,000 journal entries over 365 days, as a terminal
// writes them, then 30 days of 10-second samples. Built once per run.

#include <unistd.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "archive/Archive.h"
#include "archive/Store.h"
#include "plant/JournalTexts.h"
#include "plant/Plant.h"

namespace bench_year {

namespace fs = std::filesystem;
using archive::Kind;
using archive::Subject;
using plant::JournalColour;

constexpr int64_t kDayMs = 86'400'000;
constexpr int64_t kYearStart = 1'781'222'400'000;  // 2026-06-12 00:00 UTC
constexpr int kYearEntries = 1'000'000;

// An entry with its texts, as the plant would write it.
struct Sampled {
    std::string text;
    std::string source;
    Kind kind;
    Subject subject;
    JournalColour colour;
    int16_t detail;
};

// Entries of the kinds a working terminal writes, in roughly their shares:
// device commands and state changes most, then routes, silo zones, faults,
// clients and the system. The texts come from the plant's own formatting.
class Journal {
public:
    Journal() { plant::FillDefinitions(plant_); }

    Sampled Next() {
        const int dice = Roll(100);
        const int dev = 1 + Roll(18);
        const std::string& name = plant_.Dev[dev].Name;
        const int32_t kind = plant_.Dev[dev].Kind;
        const int route = 1 + Roll(12);
        const std::string routeSource = "маршрут " + std::to_string(route);
        if (dice < 45) {
            const auto event = kind == plant::kKindValve ? plant::DeviceEvent(Roll(3))
                                                         : plant::DeviceEvent(3 + Roll(2));
            return {plant::StateChangeText(name, event),
                    "",
                    Kind::StateChange,
                    Subject::Device(dev),
                    JournalColour::Default,
                    static_cast<int16_t>(Roll(3))};
        }
        if (dice < 75) {
            const int32_t command = 1 + Roll(3);
            return {plant::CommandReceivedText(name, kind, command),
                    Roll(2) ? routeSource : "Зернов (оператор)",
                    Kind::CommandTaken,
                    Subject::Device(dev),
                    JournalColour::Default,
                    static_cast<int16_t>(command)};
        }
        if (dice < 82)
            return {plant::RefusalText(name, Roll(2) ? plant::kModeLocal : plant::kModeRepair),
                    "Зернов (оператор)",
                    Kind::CommandRefused,
                    Subject::Device(dev),
                    JournalColour::Blue,
                    1};
        if (dice < 90)
            return {plant::RouteResultText(route, Roll(2)),
                    "",
                    Kind::RouteEvent,
                    Subject::Route(route),
                    JournalColour::Blue,
                    archive::route_event::kStarted};
        if (dice < 94) {
            const int silo = 1 + Roll(4);
            const auto zone = plant::LevelZone(Roll(5));
            return {plant::LevelZoneText(silo, zone),
                    "",
                    Kind::SiloZone,
                    Subject::Silo(silo),
                    zone == plant::LevelZone::UpperAlarm ? JournalColour::Red : JournalColour::Blue,
                    static_cast<int16_t>(zone)};
        }
        if (dice < 96)
            return {" " + name + " АВАРИЯ", "",
                    Kind::TrainerFault,     Subject::Device(dev),
                    JournalColour::Red,     plant::kFaultTrip};
        if (dice < 98) {
            const std::string peer = "192.168.1." + std::to_string(10 + Roll(5));
            return {" Подключен клиент Modbus " + peer + ":" + std::to_string(40000 + Roll(20000)),
                    peer,
                    Kind::ModbusClient,
                    {},
                    JournalColour::Blue,
                    1};
        }
        return {" Запуск системы", "", Kind::System, {}, JournalColour::Default, 0};
    }

private:
    int Roll(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    plant::Plant plant_;
    std::mt19937 random_{20260612};
};

inline archive::Entry EntryOf(const Sampled& sampled, int64_t utcMs) {
    archive::Entry entry;
    entry.time = {utcMs, 180};
    entry.text = sampled.text;
    entry.source = sampled.source;
    entry.kind = sampled.kind;
    entry.subject = sampled.subject;
    entry.colour = sampled.colour;
    entry.detail = sampled.detail;
    return entry;
}

inline fs::path Scratch() {
    const fs::path folder =
        fs::temp_directory_path() / ("bench-archive-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

// The year's archive: 1,000,000 entries spread over 365 days, then 30 days of
// 10-second samples; built at the first use.
struct Year {
    fs::path path;
    double buildSeconds = 0;
    double bytesPerEntry = 0;
    double bytesPerSample = 0;
};

inline const Year& TheYear() {
    static const Year year = [] {
        Year made;
        made.path = Scratch() / "year.db";
        const auto start = std::chrono::steady_clock::now();
        archive::StoreFailure failure;
        auto store = archive::Store::Open(made.path.string(), std::chrono::seconds(1), failure);
        if (!store) throw std::runtime_error(failure.reason);
        Journal journal;
        std::mt19937 random(7);
        const int64_t spacing = 365 * kDayMs / kYearEntries;
        std::deque<archive::Record> batch;
        for (int i = 0; i < kYearEntries; ++i) {
            const Sampled sampled = journal.Next();
            const int64_t utc = kYearStart + i * spacing +
                                std::uniform_int_distribution<int64_t>(0, spacing - 1)(random);
            batch.emplace_back().SetEntry(EntryOf(sampled, utc));
            if (batch.size() == 100'000 || i + 1 == kYearEntries) {
                if (store->Write(batch, batch.size())) throw std::runtime_error("write failed");
                batch.clear();
            }
        }
        store.reset();  // a checkpoint into the file
        made.buildSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto entriesSize = fs::file_size(made.path);
        made.bytesPerEntry = static_cast<double>(entriesSize) / kYearEntries;

        store = archive::Store::Open(made.path.string(), std::chrono::seconds(1), failure);
        constexpr int kSamples = 30 * 8640;
        const int64_t from = kYearStart + 335 * kDayMs;
        for (int i = 0; i < kSamples; ++i) {
            archive::Sample sample;
            sample.time = {from + i * 10'000LL, 180};
            sample.silo = {15000.0 - i * 0.05, 4500.0 + i * 0.02, 11250.0, 7500.0 + (i % 100)};
            sample.total = sample.silo[0] + sample.silo[1] + sample.silo[2] + sample.silo[3];
            sample.throughput = i % 3 ? 360.0 : 0.0;
            sample.shipped = i * 0.1;
            sample.unloading = 60.0 * (i % 4);
            batch.emplace_back().SetSample(sample);
        }
        if (store->Write(batch, batch.size())) throw std::runtime_error("write failed");
        store.reset();
        made.bytesPerSample =
            static_cast<double>(fs::file_size(made.path) - entriesSize) / kSamples;
        return made;
    }();
    return year;
}

}  // namespace bench_year
