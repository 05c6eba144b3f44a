#include "link/command_text.h"

#include <cstdint>

namespace kt730 {

namespace {

// C++ division truncates toward zero and the remainder takes the sign of the dividend, which is
// what the module's command builder has always done; out-of-range digits are sent as whatever
// character their low 8 bits make.
std::uint8_t digitChar(std::int32_t digit) { return static_cast<std::uint8_t>(digit + '0'); }

}  // namespace

std::uint8_t indexDigit(int index) {
    // Unsigned so that any index wraps instead of overflowing.
    return static_cast<std::uint8_t>(static_cast<unsigned>(index) + '0');
}

std::array<std::uint8_t, 3> threeDigits(std::int32_t v) {
    return {digitChar(v / 100), digitChar(v / 10 % 10), digitChar(v % 10)};
}

std::array<std::uint8_t, 5> fiveDigits(std::int32_t v) {
    return {digitChar(v / 10000), digitChar(v / 1000 % 10), digitChar(v / 100 % 10),
            digitChar(v / 10 % 10), digitChar(v % 10)};
}

std::string zeroPadded(std::int32_t v, int width) {
    // Through 64 bits so that the magnitude of INT32_MIN is representable.
    const std::int64_t wide = v;
    std::string digits = std::to_string(wide < 0 ? -wide : wide);
    if (width > 0 && digits.size() < static_cast<std::size_t>(width)) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return v < 0 ? "-" + digits : digits;
}

}  // namespace kt730
