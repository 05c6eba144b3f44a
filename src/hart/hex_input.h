#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kt730::hart {

inline constexpr std::string_view kNoSeparatorMessage = "NO SPACK";
inline constexpr std::string_view kBadDigitMessage = "Data eeore!";

struct HexInput {
    std::vector<std::uint8_t> bytes;  // the typed bytes, when `message` is empty
    std::string_view message;         // kNoSeparatorMessage or kBadDigitMessage on failure
};

// Typed hexadecimal pairs such as "01 03 00 0A" to bytes: groups of three characters (two
// upper-case hexadecimal digits and a blank), the last group with or without its blank, at most
// `limit` groups; characters after the last counted group are ignored.
HexInput parseHexBytes(std::string_view text, std::size_t limit);

}  // namespace kt730::hart
