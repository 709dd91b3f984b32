#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/ProfileFile.h"

namespace state {

// How the console serves its plant over Modbus TCP, from the state file's
// section [Modbus]:
//   Port=     TCP port 0..65535 (0: the system picks a free one); without this
//             key the console opens no socket
//   Address=  numeric IPv4 or IPv6 address to listen on; 127.0.0.1 when missing
//             or empty
//   Write=    1 (the default) takes commands; 0 makes the server read-only
//   Faults=   1 serves the trainer's fault registers; 0 (the default) does not
//   Allow=    the numeric IPv4 or IPv6 addresses of the clients that may
//             connect, separated by commas or blanks; others are closed at
//             once. Without this key every client may connect; with an empty
//             value none may.
// Integers are read as the rest of the file reads them (decimal, or hexadecimal
// after "0x").
struct ModbusSettings {
    std::string address = "127.0.0.1";
    uint16_t port = 0;
    bool writable = true;
    bool faults = false;
    std::optional<std::vector<std::string>> allow;
};

struct ModbusSection {
    bool wanted = false;      // the section has a Port key
    ModbusSettings settings;  // what it says, when it can be used
    std::string error;        // why it cannot be used (a key and its value); empty when it can
};

ModbusSection ReadModbusSection(const platform::ProfileFile& profile);

}  // namespace state
