#include "modbus/Responder.h"

#include <array>
#include <cstring>

#include "modbus/Frame.h"

namespace modbus {

namespace {

constexpr uint8_t kReadHolding = 0x03;
constexpr uint8_t kReadInput = 0x04;
constexpr uint8_t kWriteSingle = 0x06;
constexpr uint8_t kWriteMultiple = 0x10;
constexpr uint8_t kExceptionFlag = 0x80;

constexpr std::size_t kReadPduSize = 5;         // function, address, quantity
constexpr std::size_t kWriteSinglePduSize = 5;  // function, address, value
constexpr std::size_t kWriteMultipleHead = 6;   // function, address, quantity, byte count
constexpr std::size_t kWriteMultipleReply = 5;  // function, address, quantity

}  // namespace

std::size_t Responder::Answer(const uint8_t* frame, std::size_t size, uint8_t* reply) {
    uint8_t* replyPdu = reply + kFunctionOffset;
    std::size_t replyPduSize = 0;
    const Exception outcome =
        Serve(frame + kFunctionOffset, size - kFunctionOffset, replyPdu, replyPduSize);
    if (outcome != Exception::None) {
        replyPdu[0] = static_cast<uint8_t>(frame[kFunctionOffset] | kExceptionFlag);
        replyPdu[1] = static_cast<uint8_t>(outcome);
        replyPduSize = 2;
    }
    // Transaction and protocol id come back as sent, then the length and the unit id.
    std::memcpy(reply, frame, 4);
    PutBigEndian16(reply + 4, static_cast<uint16_t>(1 + replyPduSize));
    reply[6] = frame[6];
    return kMbapSize + replyPduSize;
}

// Checks the request and carries it out on the register map, writing the PDU
// of a served request's reply.
Exception Responder::Serve(const uint8_t* pdu, std::size_t pduSize, uint8_t* replyPdu,
                           std::size_t& replyPduSize) {
    // A frame longer than Modbus allows is answered, not cut off, so that a
    // client learns its request was too long.
    if (pduSize > kMaxPduSize) return Exception::IllegalValue;
    switch (pdu[0]) {
        case kReadHolding:
            return Read(pdu, pduSize, false, replyPdu, replyPduSize);
        case kReadInput:
            return Read(pdu, pduSize, true, replyPdu, replyPduSize);
        case kWriteSingle: {
            if (!writable_) return Exception::IllegalFunction;
            const Exception outcome = WriteSingle(pdu, pduSize);
            if (outcome == Exception::None) {
                std::memcpy(replyPdu, pdu, kWriteSinglePduSize);
                replyPduSize = kWriteSinglePduSize;
            }
            return outcome;
        }
        case kWriteMultiple: {
            if (!writable_) return Exception::IllegalFunction;
            const Exception outcome = WriteMultiple(pdu, pduSize);
            if (outcome == Exception::None) {
                std::memcpy(replyPdu, pdu, kWriteMultipleReply);
                replyPduSize = kWriteMultipleReply;
            }
            return outcome;
        }
        default:
            // Coils, discrete inputs and every other function: the map has none.
            return Exception::IllegalFunction;
    }
}

Exception Responder::Read(const uint8_t* pdu, std::size_t pduSize, bool input, uint8_t* replyPdu,
                          std::size_t& replyPduSize) {
    if (pduSize != kReadPduSize) return Exception::IllegalValue;
    const int address = BigEndian16(pdu + 1);
    const std::size_t count = BigEndian16(pdu + 3);
    if (count < 1 || count > kMaxReadRegisters) return Exception::IllegalValue;
    std::array<uint16_t, kMaxReadRegisters> values{};
    const std::span<uint16_t> out(values.data(), count);
    const Exception outcome =
        input ? map_.ReadInputRegisters(address, out) : map_.ReadHoldingRegisters(address, out);
    if (outcome != Exception::None) return outcome;
    replyPdu[0] = pdu[0];
    replyPdu[1] = static_cast<uint8_t>(2 * count);
    for (std::size_t k = 0; k < count; ++k) PutBigEndian16(replyPdu + 2 + 2 * k, values[k]);
    replyPduSize = 2 + 2 * count;
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
    if (count < 1 || count > kMaxWriteRegisters || bytes != 2 * count ||
        pduSize != kWriteMultipleHead + bytes) {
        return Exception::IllegalValue;
    }
    std::array<uint16_t, kMaxWriteRegisters> values{};
    for (std::size_t k = 0; k < count; ++k) {
        values[k] = BigEndian16(pdu + kWriteMultipleHead + 2 * k);
    }
    return map_.WriteHoldingRegisters(BigEndian16(pdu + 1),
                                      std::span<const uint16_t>(values.data(), count));
}

}  // namespace modbus
