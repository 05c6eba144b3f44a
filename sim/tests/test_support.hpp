// Helpers for the simulator tests: byte literals and a reader that takes
// fields out of a reply text the way the configuration tool does, by a
// marker (where "?" stands for any one character) and a fixed offset.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "bytes.hpp"

namespace kt730sim::test {

// Text followed by raw bytes, as the raw-byte set commands are sent.
Bytes textThenBytes(std::string_view text, std::initializer_list<std::uint8_t> raw);

// n copies of 0xFF followed by `body`.
Bytes withPreamble(int n, std::initializer_list<std::uint8_t> body);

// Position of the first occurrence of `marker` in `reply`, or nothing.
std::optional<std::size_t> findMarker(std::string_view reply, std::string_view marker);

// `length` characters at `offset` from the marker's first character; nothing
// when the marker is missing or the field runs past the reply.
std::optional<std::string> fieldAt(std::string_view reply, std::string_view marker,
                                   std::size_t offset, std::size_t length);

}  // namespace kt730sim::test
