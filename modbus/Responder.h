#pragma once

#include <cstddef>
#include <cstdint>

#include "modbus/RegisterMap.h"

namespace modbus {

// Answers one complete request: checks the function, the request's size,
// quantity and addresses, reads or writes the register map, and writes the
// reply or the exception frame. Sending is the server's: it gathers the
// replies to every request a client sent at once and writes them together.
class Responder {
public:
    // `writable` false answers every write with exception 01.
    Responder(RegisterMap& map, bool writable) : map_(map), writable_(writable) {}

    // `frame` is one whole frame as CheckFrame found it. Writes the reply into
    // `reply`, which has room for kMaxReplySize bytes, and returns its size.
    std::size_t Answer(const uint8_t* frame, std::size_t size, uint8_t* reply);

private:
    Exception Serve(const uint8_t* pdu, std::size_t pduSize, uint8_t* replyPdu,
                    std::size_t& replyPduSize);
    Exception Read(const uint8_t* pdu, std::size_t pduSize, bool input, uint8_t* replyPdu,
                   std::size_t& replyPduSize);
    Exception WriteSingle(const uint8_t* pdu, std::size_t pduSize);
    Exception WriteMultiple(const uint8_t* pdu, std::size_t pduSize);

    RegisterMap& map_;
    bool writable_;
};

}  // namespace modbus
