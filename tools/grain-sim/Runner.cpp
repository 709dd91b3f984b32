#include "tools/grain-sim/Runner.h"

#include "plant/SiloZones.h"
#include "platform/core/NumberFormat.h"
#include "state/StateFile.h"

namespace grainsim {

namespace {

const char* ColourName(plant::JournalColour colour) {
    switch (colour) {
        case plant::JournalColour::Red:
            return "red";
        case plant::JournalColour::Blue:
            return "blue";
        case plant::JournalColour::Default:
            break;
    }
    return "default";
}

// Tonnes with two decimals and a decimal point.
std::string Tonnes(double value) {
    return platform::FormatFixed(value, 18, 2, '.');
}

// The source of a script's command: "строка 12".
plant::Origin LineOrigin(int line) {
    return plant::Origin("строка " + std::to_string(line));
}

}  // namespace

std::string EscapeBody(const std::string& body) {
    std::string out;
    out.reserve(body.size() + 8);
    for (char c : body) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out;
}

void Runner::Journal::Append(const std::string& body, plant::JournalColour colour) {
    Append(body, colour, plant::SystemTag());
}

void Runner::Journal::Append(const std::string& body, plant::JournalColour colour,
                             const plant::JournalTag& tag) {
    runner_.out_ << "J " << runner_.tick_ << ' ' << ColourName(colour) << ' ' << EscapeBody(body)
                 << '\n';
    if (runner_.archive_ != nullptr) {
        runner_.archive_->Append(archive::TaggedEntry(runner_.PlantTime(), body, colour, tag));
    }
}

void Runner::Sound::Play(const std::string& file) {
    out_ << "S " << tick_ << ' ' << file << '\n';
}

int Runner::SeededRandom::Next(int bound) {
    if (bound <= 1) return 0;
    return std::uniform_int_distribution<int>(0, bound - 1)(engine_);
}

Runner::Runner(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

void Runner::RecordIn(archive::Archive& archive, const archive::Stamp& start) {
    archive_ = &archive;
    start_ = start;
}

archive::Stamp Runner::PlantTime() const {
    return {start_.utcMs + int64_t{tick_} * plant::kEmulatorIntervalMs, start_.offsetMinutes};
}

void Runner::Sample() {
    if (archive_ != nullptr) archive_->OfferSample(archive::SampleOf(plant_, PlantTime()));
}

std::optional<std::string> Runner::Start(const std::string& statePath) {
    plant::FillDefinitions(plant_);
    if (statePath.empty()) return std::nullopt;
    return state::LoadState(plant_, statePath);
}

int Runner::Run(const std::vector<Command>& commands) {
    constexpr int kUnwritableState = 1, kUnwritableOutput = 3;
    auto outputFailed = [this] {
        err_ << "grain-sim: cannot write to standard output\n";
        return kUnwritableOutput;
    };
    for (const Command& command : commands) {
        if (!Execute(command)) {
            out_.flush();
            err_ << "grain-sim: line " << command.line << ": Unable to write to " << command.file
                 << '\n';
            return kUnwritableState;
        }
        if (!out_) return outputFailed();
    }
    if (!out_.flush()) return outputFailed();
    return 0;
}

void Runner::Cycle() {
    ++tick_;
    controller_.EmulatorTick();
    Sample();
}

void Runner::WagonTick(int draw) {
    draw_.draw = draw;
    wagonTimer_.Tick();
}

bool Runner::Execute(const Command& command) {
    using Verb = Command::Verb;
    switch (command.verb) {
        case Verb::Tick:
            for (long i = 0; i < command.count; ++i) Cycle();
            break;
        // A script posts as the operator does; the parser lets only device
        // commands through.
        case Verb::Dev:
            plant::PostCommand(plant_, command.index, command.code, plant::kSourceOperator,
                               LineOrigin(command.line));
            break;
        case Verb::RouteStart:
        case Verb::RouteStop: {
            const int32_t code =
                command.verb == Verb::RouteStart ? plant::kRouteCmdStart : plant::kRouteCmdStop;
            if (!plant::PostRouteCommand(plant_, command.index, code, plant::kSourceOperator,
                                         LineOrigin(command.line))) {
                out_ << "# ignored\n";
            }
            break;
        }
        case Verb::Reset:
            plant_.ShippingMassa = 0;
            break;
        case Verb::Print:
            Print();
            break;
        case Verb::Save:
            return state::SaveState(plant_, command.file, '.');
        case Verb::Vagon:
            draw_.draw = command.index;
            wagonTimer_.Tick();
            out_ << "W " << wagonTimer_.WagonsOnTrack() << '\n';
            break;
        case Verb::Fault:
            plant::PostFault(plant_, command.index, command.code, LineOrigin(command.line));
            break;
        case Verb::Alarms:
            for (int i = 1; i <= plant::kDeviceCount; ++i) {
                out_ << "A " << i << ' ' << (plant_.Dev[i].ErrorText.empty() ? 0 : 1) << '\n';
            }
            break;
    }
    return true;
}

void Runner::Print() {
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        const plant::TDiscret& d = plant_.Dev[i];
        out_ << "D " << i << " mode=" << d.Mode << " state=" << d.State << " ungle=" << d.Ungle
             << '\n';
    }
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        const plant::TRoute& route = plant_.Route[r];
        out_ << "R " << r << " state=" << route.State << " step=" << route.Step
             << " permitted=" << (route.Permitted ? 1 : 0) << '\n';
    }
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        out_ << "T " << n << ' ' << Tonnes(plant_.Tank[n]) << '\n';
    }
    out_ << "M " << Tonnes(plant_.ShippingMassa) << '\n';
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        out_ << "Z " << n << ' ' << plant::LookOf(diagram_.TankZone(n)).label << '\n';
    }
}

}  // namespace grainsim
