// CRC-16 of the Modbus RTU serial line: reflected polynomial 0xA001, initial
// value 0xFFFF, no final inversion. On the line the low-order byte goes first.
#pragma once

#include "bytes.hpp"

namespace kt730sim {

std::uint16_t modbusCrc16(ByteView data);

// Appends the CRC of `frame` to it, low-order byte first.
void appendModbusCrc(Bytes& frame);

// True when the last two bytes of `frame` are the CRC of the bytes before them.
bool hasValidModbusCrc(ByteView frame);

}  // namespace kt730sim
