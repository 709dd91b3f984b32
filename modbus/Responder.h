#pragma once

#include <cstddef>
#include <cstdint>

#include "modbus/RegisterMap.h"

// libmodbus's context and register mapping, kept out of the public headers.
struct _modbus;
struct _modbus_mapping_t;

namespace modbus {

// Answers one complete request on a client's socket: checks the function, the
// request's size, quantity and addresses, reads or writes the register map, and
// has libmodbus build and send the reply or the exception.
class Responder {
public:
    // `writable` false answers every write with exception 01. Throws
    // std::bad_alloc when libmodbus cannot allocate its context.
    Responder(RegisterMap& map, bool writable);
    ~Responder();
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    // `frame` is one whole frame as CheckFrame found it. Returns false when the
    // reply could not be handed to the socket whole (the client is then dropped).
    bool Answer(int fd, const uint8_t* frame, std::size_t size);

private:
    Exception Serve(const uint8_t* frame, std::size_t size);
    Exception Read(const uint8_t* pdu, std::size_t pduSize, bool input);
    Exception WriteSingle(const uint8_t* pdu, std::size_t pduSize);
    Exception WriteMultiple(const uint8_t* pdu, std::size_t pduSize);

    RegisterMap& map_;
    bool writable_;
    _modbus* context_ = nullptr;
    _modbus_mapping_t* mapping_ = nullptr;
};

}  // namespace modbus
