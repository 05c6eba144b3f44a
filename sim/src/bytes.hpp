// Byte buffers shared by every part of the simulator.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kt730sim {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline Bytes toBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline std::string toText(ByteView bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace kt730sim
