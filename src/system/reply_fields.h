#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace kt730 {

// Reading fields out of the module's reply texts. A reply text holds one character per received
// byte; zero bytes are characters like any other.

// The position of the first occurrence of `marker` standing wholly inside `text`.
std::optional<std::size_t> findMarker(std::string_view text, std::string_view marker);

// The character at `pos` as a decimal digit. A reply that ends before `pos` gives nothing (the
// field is skipped); any character other than '0'..'9' throws the integer conversion error.
std::optional<int> replyDigit(std::string_view text, std::size_t pos);

// Up to `count` characters from `pos`: fewer when the reply ends first, none when it ended before.
std::string_view replyChars(std::string_view text, std::size_t pos, std::size_t count);

}  // namespace kt730
