#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kt730 {

// A value 0..255 as two upper-case hexadecimal digits, high digit first; above 255 (or below 0)
// gives ".".
std::string byteToHex(int value);

// Each byte as its byteToHex pair followed by one blank ("02 80 " for {0x02, 0x80}).
std::string hexPairs(std::span<const std::uint8_t> bytes);

}  // namespace kt730
