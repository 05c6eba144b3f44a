#pragma once

#include <cstdint>
#include <string>

namespace kt730 {

// Four bytes of an IEEE 754 binary32 value, b0 most significant, as the general number text with
// 15 significant digits ("10", "0.100000001490116", "9.99999974737875E-5", "NAN", "-INF", "0").
// A signalling NaN pattern throws UserError("Invalid floating point operation"): the module's
// users have always seen that error for such bytes, and callers stop where it is thrown.
std::string singleToText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);

}  // namespace kt730
