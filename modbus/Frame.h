#pragma once

#include <cstddef>
#include <cstdint>

namespace modbus {

// A Modbus TCP frame (ADU): the MBAP header, transaction id (2 bytes), protocol
// id (2, always 0), length (2, counting the unit id and the PDU) and unit id
// (1), then the PDU, function code first. All numbers are big-endian.
constexpr std::size_t kMbapSize = 7;
constexpr std::size_t kFunctionOffset = kMbapSize;
// The largest frame Modbus TCP allows: a PDU of at most 253 bytes.
constexpr std::size_t kMaxAduSize = 260;
constexpr std::size_t kMaxPduSize = kMaxAduSize - kMbapSize;
// The largest frame a well-formed header can still describe: a write of
// several registers whose one-byte byte count is at its limit, 255 (127
// registers and a byte). Such a frame is read whole and answered with an
// exception; a header announcing more cannot be Modbus, and the stream is cut.
constexpr std::size_t kLongestFrame = kMbapSize + 6 + 255;

// Registers per request.
constexpr std::size_t kMaxReadRegisters = 125;
constexpr std::size_t kMaxWriteRegisters = 123;
// The longest reply: a read of 125 registers.
constexpr std::size_t kMaxReplySize = kMbapSize + 2 + 2 * kMaxReadRegisters;

inline uint16_t BigEndian16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
inline void PutBigEndian16(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value >> 8);
    p[1] = static_cast<uint8_t>(value & 0xFF);
}

// How far a client's received bytes make up a frame.
struct FrameCheck {
    enum Status { Incomplete, Complete, Bad } status = Incomplete;
    std::size_t size = 0;  // bytes of the complete frame
};

// Looks at the first bytes a client sent. A frame is complete when the length
// of its header is there; a length that cannot be a Modbus frame (below a unit
// id and a function code, or beyond the longest frame a header can describe)
// or a protocol id other than 0 makes the stream bad: there is no way to find
// the next frame in it.
inline FrameCheck CheckFrame(const uint8_t* data, std::size_t size) {
    constexpr std::size_t kLengthEnd = 6;
    if (size < kLengthEnd) return {};
    const std::size_t length = BigEndian16(data + 4);
    if (BigEndian16(data + 2) != 0 || length < 2 || kLengthEnd + length > kLongestFrame) {
        return {FrameCheck::Bad, 0};
    }
    if (size < kLengthEnd + length) return {};
    return {FrameCheck::Complete, kLengthEnd + length};
}

}  // namespace modbus
