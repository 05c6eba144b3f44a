#include "link/hex_text.h"

#include <string_view>

namespace kt730 {

namespace {
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
}

std::string byteToHex(int value) {
    if (value < 0 || value > 255) {
        return ".";
    }
    return {kHexDigits[static_cast<std::size_t>(value / 16)],
            kHexDigits[static_cast<std::size_t>(value % 16)]};
}

std::string hexPairs(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        text += byteToHex(b);
        text += ' ';
    }
    return text;
}

}  // namespace kt730
