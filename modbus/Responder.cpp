#include "modbus/Responder.h"

#include <modbus/modbus.h>

#include <algorithm>
#include <array>
#include <new>

#include "modbus/Frame.h"

namespace modbus {

namespace {

constexpr uint8_t kReadHolding = 0x03;
constexpr uint8_t kReadInput = 0x04;
constexpr uint8_t kWriteSingle = 0x06;
constexpr uint8_t kWriteMultiple = 0x10;

constexpr std::size_t kReadPduSize = 5;         // function, address, quantity
constexpr std::size_t kWriteSinglePduSize = 5;  // function, address, value
constexpr std::size_t kWriteMultipleHead = 6;   // function, address, quantity, byte count

}  // namespace

Responder::Responder(RegisterMap& map, bool writable) : map_(map), writable_(writable) {
    // The context only frames replies on sockets the server hands it; it never
    // connects or listens itself.
    context_ = modbus_new_tcp("127.0.0.1", 0);
    mapping_ = modbus_mapping_new_start_address(0, 0, 0, 0, 0,
                                                static_cast<unsigned>(map.HoldingRegisterSpan()), 0,
                                                static_cast<unsigned>(map.InputRegisterSpan()));
    if (!context_ || !mapping_) {
        if (mapping_) modbus_mapping_free(mapping_);
        if (context_) modbus_free(context_);
        throw std::bad_alloc();
    }
}

Responder::~Responder() {
    modbus_mapping_free(mapping_);
    modbus_free(context_);
}

bool Responder::Answer(int fd, const uint8_t* frame, std::size_t size) {
    const Exception outcome = Serve(frame, size);
    modbus_set_socket(context_, fd);
    const int sent = outcome == Exception::None
                         ? modbus_reply(context_, frame, static_cast<int>(size), mapping_)
                         : modbus_reply_exception(context_, frame, static_cast<unsigned>(outcome));
    modbus_set_socket(context_, -1);
    return sent > 0;
}

// Checks the request and carries it out on the register map. The reply is built
// from the mapping afterwards, so a served read leaves its values there.
Exception Responder::Serve(const uint8_t* frame, std::size_t size) {
    const uint8_t* pdu = frame + kFunctionOffset;
    const std::size_t pduSize = size - kFunctionOffset;
    switch (pdu[0]) {
        case kReadHolding:
            return Read(pdu, pduSize, false);
        case kReadInput:
            return Read(pdu, pduSize, true);
        case kWriteSingle:
            return writable_ ? WriteSingle(pdu, pduSize) : Exception::IllegalFunction;
        case kWriteMultiple:
            return writable_ ? WriteMultiple(pdu, pduSize) : Exception::IllegalFunction;
        default:
            // Coils, discrete inputs and every other function: the map has none.
            return Exception::IllegalFunction;
    }
}

Exception Responder::Read(const uint8_t* pdu, std::size_t pduSize, bool input) {
    if (pduSize != kReadPduSize) return Exception::IllegalValue;
    const int address = BigEndian16(pdu + 1);
    const std::size_t count = BigEndian16(pdu + 3);
    if (count < 1 || count > MODBUS_MAX_READ_REGISTERS) return Exception::IllegalValue;
    std::array<uint16_t, MODBUS_MAX_READ_REGISTERS> values{};
    const std::span<uint16_t> out(values.data(), count);
    const Exception outcome =
        input ? map_.ReadInputRegisters(address, out) : map_.ReadHoldingRegisters(address, out);
    if (outcome != Exception::None) return outcome;
    const int span = input ? map_.InputRegisterSpan() : map_.HoldingRegisterSpan();
    if (address + static_cast<int>(count) > span) return Exception::IllegalAddress;
    uint16_t* table = input ? mapping_->tab_input_registers : mapping_->tab_registers;
    std::copy(out.begin(), out.end(), table + address);
    return Exception::None;
}

Exception Responder::WriteSingle(const uint8_t* pdu, std::size_t pduSize) {
    if (pduSize != kWriteSinglePduSize) return Exception::IllegalValue;
    const uint16_t value = BigEndian16(pdu + 3);
    return map_.WriteHoldingRegisters(BigEndian16(pdu + 1), std::span<const uint16_t>(&value, 1));
}

Exception Responder::WriteMultiple(const uint8_t* pdu, std::size_t pduSize) {
    if (pduSize < kWriteMultipleHead) return Exception::IllegalValue;
    const std::size_t count = BigEndian16(pdu + 3);
    const std::size_t bytes = pdu[5];
    if (count < 1 || count > MODBUS_MAX_WRITE_REGISTERS || bytes != 2 * count ||
        pduSize != kWriteMultipleHead + bytes) {
        return Exception::IllegalValue;
    }
    std::array<uint16_t, MODBUS_MAX_WRITE_REGISTERS> values{};
    for (std::size_t k = 0; k < count; ++k) {
        values[k] = BigEndian16(pdu + kWriteMultipleHead + 2 * k);
    }
    return map_.WriteHoldingRegisters(BigEndian16(pdu + 1),
                                      std::span<const uint16_t>(values.data(), count));
}

}  // namespace modbus
