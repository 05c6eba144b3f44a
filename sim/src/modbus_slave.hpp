// The module's Modbus RTU slave: function 03, read holding registers.
#pragma once

#include <optional>

#include "bytes.hpp"
#include "register_map.hpp"

namespace kt730sim {

// Reply to one RTU frame for the slave `address`, or nothing when the frame
// is damaged (CRC) or meant for another slave. Requests outside the map get
// exception 02, other functions exception 01, a bad quantity exception 03.
std::optional<Bytes> handleModbusFrame(ByteView frame, std::uint8_t address,
                                       const RegisterMap& registers);

}  // namespace kt730sim
