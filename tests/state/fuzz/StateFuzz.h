#pragma once

// Random and mutated state files for the loader, shared by the short fuzz test
// and the standalone long run. Deterministic for a given seed.

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/TextEncoding.h"
#include "state/StateFile.h"

namespace statefuzz {

class FileGenerator {
public:
    explicit FileGenerator(uint32_t seed) : random_(seed) { seeds_ = SeedFiles(); }

    // The next file: random bytes, random lines of known and unknown keys, a
    // mutated valid file, or such a file in UTF-16, in turn.
    std::string Next() {
        switch (count_++ % 4) {
            case 0:
                return RandomBytes();
            case 1:
                return RandomLines();
            case 2:
                return Mutated(seeds_[Below(seeds_.size())]);
            default:
                return Utf16(Mutated(seeds_[Below(seeds_.size())]));
        }
    }

private:
    std::size_t Below(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }
    bool OneIn(std::size_t n) { return Below(n) == 0; }

    template <std::size_t N>
    const char* Pick(const std::array<const char*, N>& items) {
        return items[Below(N)];
    }

    std::string RandomBytes() {
        static constexpr std::array<const char*, 24> kPieces = {
            "[",    "]", "=",  "\n", "\r\n", "\r",   ";",    "#",    "Dev",          "Mode",
            "0x",   ",", ".",  "-",  "e",    "\xC7", "\xD0", "\x98", "\xEF\xBB\xBF", "Route",
            "Step", " ", "\t", "\"",
        };
        std::string text;
        const std::size_t length = Below(160);
        for (std::size_t i = 0; i < length; ++i) {
            if (OneIn(3)) {
                text += Pick(kPieces);
            } else {
                text += static_cast<char>(Below(256));
            }
        }
        return text;
    }

    std::string Section() {
        switch (Below(6)) {
            case 0:
                return "Level";
            case 1:
                return "Route";
            case 2:
                return "Shipping";
            case 3:
                return "dev" + std::to_string(Below(21));
            case 4:
                return "Unknown" + std::to_string(Below(3));
            default:
                return "Dev" + std::to_string(Below(21));
        }
    }

    std::string Key() {
        static constexpr std::array<const char*, 8> kKeys = {"Name",  "Mode", "State", "Ungle",
                                                             "Massa", "MODE", "Tank",  "Step"};
        std::string key = Pick(kKeys);
        if (key == "Tank" || key == "Step" || (key == "State" && OneIn(2))) {
            key += std::to_string(Below(15));
        }
        return key;
    }

    std::string Value() {
        static constexpr std::array<const char*, 22> kValues = {
            "",       "0",   "1",    "2",          "3",          "4",          "90",    "91",
            "-1",     "0x1", "0X5A", "0xFFFFFFFF", "4499,97",    "4499.97",    "1e308", "1e309",
            "-1e400", "nan", "inf",  "2147483648", "\"quoted\"", "Задвижка М1"};
        switch (Below(4)) {
            case 0:
                return std::to_string(static_cast<int64_t>(random_()) - (1ll << 31));
            case 1:
                return std::to_string(std::uniform_real_distribution<double>(-2e4, 2e4)(random_));
            case 2:
                return std::string(Below(2500), static_cast<char>('0' + Below(10)));
            default:
                return Pick(kValues);
        }
    }

    std::string RandomLines() {
        std::string text;
        const std::size_t lines = Below(16);
        for (std::size_t i = 0; i < lines; ++i) {
            switch (Below(8)) {
                case 0:
                    text += "[" + Section() + "]";
                    break;
                case 1:
                    text += ";" + Value();
                    break;
                case 2:
                    text += Value();
                    break;
                default:
                    text += Key() + (OneIn(4) ? " = " : "=") + Value();
                    break;
            }
            text += OneIn(5) ? "\r\n" : "\n";
        }
        return text;
    }

    // A stretch of a valid file, mostly from a line start, keeping files short.
    std::string Slice(const std::string& text) {
        std::size_t start = Below(text.size());
        if (!OneIn(4)) {
            const std::size_t lineStart = text.rfind('\n', start);
            start = lineStart == std::string::npos ? 0 : lineStart + 1;
        }
        return text.substr(start, 100 + Below(400));
    }

    std::string Mutated(std::string text) {
        const std::size_t edits = 1 + Below(8);
        for (std::size_t e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = Below(text.size());
            switch (Below(6)) {
                case 0:
                    text[at] = static_cast<char>(Below(256));
                    break;
                case 1:
                    text.erase(at, Below(20));
                    break;
                case 2:
                    text.insert(at, 1, "[]=\n;0x-,.\r"[Below(11)]);
                    break;
                case 3:
                    text.insert(at, text.substr(Below(text.size()), Below(60)));
                    break;
                case 4:
                    text.resize(at);
                    break;
                default:
                    text[at] = static_cast<char>(text[at] ^ (1 << Below(8)));
                    break;
            }
        }
        return text;
    }

    // Each byte as one UTF-16 unit behind a byte-order mark of either order,
    // sometimes with a stray last byte.
    std::string Utf16(const std::string& text) {
        const bool bigEndian = OneIn(2);
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char c : text) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
        if (OneIn(4)) bytes += static_cast<char>(Below(256));
        return bytes;
    }

    // Valid files as the program writes them, with assorted values.
    std::vector<std::string> SeedFiles() {
        std::vector<std::string> files;
        for (int variant = 0; variant < 4; ++variant) {
            plant::Plant plant;
            for (int i = 1; i <= plant::kDeviceCount; ++i) {
                plant.Dev[i].Name = variant % 2 ? "Задвижка М" + std::to_string(i) : "Dev";
                plant.Dev[i].Mode = (i + variant) % 4;
                plant.Dev[i].State = (i + variant) % 3;
                plant.Dev[i].Ungle = (i * 7 + variant) % 91;
            }
            for (int n = 1; n <= plant::kSiloCount; ++n) plant.Tank[n] = 3750.25 * n + variant;
            for (int r = 1; r <= plant::kRouteCount; ++r) {
                plant.Route[r].State = (r + variant) % 4;
                plant.Route[r].Step = r + variant;
            }
            plant.ShippingMassa = 1234.5 * variant;
            platform::ProfileFile profile;
            state::WriteState(plant, profile, variant < 2 ? '.' : ',');
            files.push_back(profile.Text());
        }
        return files;
    }

    std::mt19937 random_;
    std::vector<std::string> seeds_;
    uint64_t count_ = 0;
};

// Empty when every value the loader stored is one the rest of the program can
// use; otherwise what is wrong.
inline std::string CheckLoaded(const plant::Plant& plant) {
    std::ostringstream problems;
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        const plant::TDiscret& dev = plant.Dev[i];
        if (dev.Mode < 0 || dev.Mode > 3) problems << "Dev" << i << " Mode " << dev.Mode << "; ";
        if (dev.State < 0 || dev.State > 2)
            problems << "Dev" << i << " State " << dev.State << "; ";
        if (dev.Ungle < 0 || dev.Ungle > 90)
            problems << "Dev" << i << " Ungle " << dev.Ungle << "; ";
        if (!platform::IsValidUtf8(dev.Name) || dev.Name.size() > 4 * 2047) {
            problems << "Dev" << i << " Name of " << dev.Name.size() << " bytes; ";
        }
    }
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        if (!std::isfinite(plant.Tank[n])) problems << "Tank" << n << " " << plant.Tank[n] << "; ";
    }
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        const plant::TRoute& route = plant.Route[r];
        if (route.State != plant::kRouteStopped && route.State != plant::kRouteRunning)
            problems << "State" << r << " " << route.State << "; ";
        if (route.Step != 0 || route.Position != 0) problems << "Route " << r << " resumes; ";
    }
    if (!std::isfinite(plant.ShippingMassa)) problems << "Massa " << plant.ShippingMassa << "; ";
    return problems.str();
}

// Loads `bytes` into fresh tables; empty when every stored value is usable.
inline std::string CheckLoad(const std::string& bytes) {
    platform::ProfileFile profile;
    profile.Parse(bytes);
    plant::Plant plant;
    state::ReadState(plant, profile);
    return CheckLoaded(plant);
}

inline bool SameReal(double a, double b) {
    return std::abs(a - b) <= std::abs(b) * 1e-14;
}

// Empty when the values saved from `bytes` read back unchanged (after the save
// adjustments), and saving again and again no longer changes the text: the
// first save may lay the file out anew, later ones must not drift.
inline std::string CheckRoundTrip(const std::string& bytes) {
    platform::ProfileFile first;
    first.Parse(bytes);
    plant::Plant saved;
    state::ReadState(saved, first);
    state::WriteState(saved, first, ',');
    state::ApplySaveAdjustments(saved);

    platform::ProfileFile second;
    second.Parse(first.Text());
    plant::Plant reloaded;
    state::ReadState(reloaded, second);

    std::ostringstream problems;
    for (int d = 1; d <= plant::kDeviceCount; ++d) {
        const plant::TDiscret& a = reloaded.Dev[d];
        const plant::TDiscret& b = saved.Dev[d];
        if (a.Name != b.Name || a.Mode != b.Mode || a.State != b.State || a.Ungle != b.Ungle) {
            problems << "Dev" << d << " changed; ";
        }
    }
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        if (!SameReal(reloaded.Tank[n], saved.Tank[n])) problems << "Tank" << n << " changed; ";
    }
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        if (reloaded.Route[r].State != saved.Route[r].State)
            problems << "State" << r << " changed; ";
    }
    if (!SameReal(reloaded.ShippingMassa, saved.ShippingMassa)) problems << "Massa changed; ";

    state::WriteState(reloaded, second, ',');
    const std::string secondText = second.Text();
    platform::ProfileFile third;
    third.Parse(secondText);
    state::WriteState(reloaded, third, ',');
    if (third.Text() != secondText) problems << "third save differs; ";
    return problems.str();
}

}  // namespace statefuzz
