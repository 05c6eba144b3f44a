#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kt730::hart {

// The position m of the first 0xFF followed by `delimiter` among the first `replyLength` bytes of
// `receiveArea`, scanning m = 0 .. replyLength-5 (no reply when replyLength is below 5). m is the
// last preamble byte of the reply; the fields stand at fixed distances after it.
std::optional<std::size_t> findHartReply(std::span<const std::uint8_t> receiveArea,
                                         std::size_t replyLength, std::uint8_t delimiter);

// Identification reply (command 0), offsets from m.
inline constexpr std::size_t kIdManufacturer = 8;
inline constexpr std::size_t kIdDeviceType = 9;
inline constexpr std::size_t kIdPreambles = 10;
inline constexpr std::size_t kIdDeviceId = 16;  // three bytes, most significant first

// Dynamic variables reply (command 3), offsets from m.
inline constexpr std::size_t kDvByteCount = 8;
inline constexpr std::size_t kDvFirstUnit = 15;  // variable k (0..3): unit at 15 + 5k, value after
inline constexpr std::size_t kDvGroupSize = 5;
inline constexpr std::size_t kDvLastByte = 34;

// How many variables a command 3 reply with byte count `byteCount` shows: 1 + the passes p = 0,1,2
// for which 5p < byteCount - 11.
int hartVariableCount(std::uint8_t byteCount);

// The text of one variable: "00000000" when b[0] is 0x7F, else singleToText cut to 9 characters.
// Throws UserError for a signalling NaN.
std::string showHartVariable(std::span<const std::uint8_t, 4> value);

}  // namespace kt730::hart
