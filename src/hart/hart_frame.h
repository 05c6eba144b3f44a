#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kt730::hart {

inline constexpr std::uint8_t kPreambleByte = 0xFF;
inline constexpr std::uint8_t kShortRequestDelimiter = 0x02;  // start of frame, master to device
inline constexpr std::uint8_t kLongRequestDelimiter = 0x82;
inline constexpr std::uint8_t kShortReplyDelimiter = 0x06;  // acknowledge, device to master
inline constexpr std::uint8_t kLongReplyDelimiter = 0x86;
inline constexpr std::uint8_t kPrimaryMasterBit = 0x80;

// The longitudinal parity of a frame body: the exclusive-or of all its bytes (0 for an empty body).
std::uint8_t checkByte(std::span<const std::uint8_t> body);

// Writes `preambles` bytes 0xFF, the body and its check byte into `out` from its first byte and
// returns the frame length (preambles + body size + 1). When `preambles` is negative or the frame
// does not fit `out`, writes nothing and throws UserError naming the allowed range of the
// preamble setting (the count minus one, as the engineer types it).
std::size_t buildHartFrame(std::span<const std::uint8_t> body, int preambles,
                           std::span<std::uint8_t> out);

}  // namespace kt730::hart
