#include "state/ModbusSection.h"

#include <arpa/inet.h>

#include <optional>
#include <sstream>

#include "state/SectionValue.h"

namespace state {

namespace {

constexpr const char* kSection = "Modbus";

// A 0/1 switch; a missing key keeps `value`.
bool Switch(const platform::ProfileFile& profile, const std::string& key, bool& value,
            std::string& error) {
    const std::optional<std::string> text = profile.ReadValue(kSection, key);
    if (!text) return true;
    const std::optional<int32_t> number = SectionInteger(key, *text, 0, 1, error);
    if (number) value = *number == 1;
    return number.has_value();
}

bool IsNumericAddress(const std::string& text) {
    unsigned char bytes[16];
    return inet_pton(AF_INET, text.c_str(), bytes) == 1 ||
           inet_pton(AF_INET6, text.c_str(), bytes) == 1;
}

// The list of client addresses; a missing key keeps "every client".
bool Allow(const platform::ProfileFile& profile, std::optional<std::vector<std::string>>& allow,
           std::string& error) {
    const std::optional<std::string> text = profile.ReadValue(kSection, "Allow");
    if (!text) return true;
    std::string list = *text;
    for (char& c : list) {
        if (c == ',' || c == ';' || c == '\t') c = ' ';
    }
    std::istringstream words(list);
    std::vector<std::string> addresses;
    for (std::string word; words >> word;) {
        if (!IsNumericAddress(word)) {
            error = "Allow=" + *text + " - " + word + " не числовой IP-адрес";
            return false;
        }
        addresses.push_back(word);
    }
    allow = std::move(addresses);
    return true;
}

}  // namespace

ModbusSection ReadModbusSection(const platform::ProfileFile& profile) {
    ModbusSection section;
    const std::optional<std::string> port = profile.ReadValue(kSection, "Port");
    if (!port) return section;
    section.wanted = true;
    ModbusSettings& settings = section.settings;
    const std::optional<int32_t> number = SectionInteger("Port", *port, 0, 65535, section.error);
    if (!number) return section;
    settings.port = static_cast<uint16_t>(*number);
    const std::string address = profile.ReadString(kSection, "Address", "");
    if (!address.empty()) settings.address = address;
    if (Switch(profile, "Write", settings.writable, section.error) &&
        Switch(profile, "Faults", settings.faults, section.error)) {
        Allow(profile, settings.allow, section.error);
    }
    return section;
}

}  // namespace state
