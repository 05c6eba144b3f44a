#include "link/int_text.h"

#include <cstddef>
#include <cstdint>
#include <limits>

#include "link/user_error.h"

namespace kt730 {

namespace {

// -1 for a character that is not a digit of the base.
int digitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

}  // namespace

std::string notAnIntegerMessage(std::string_view text) {
    std::string message = "'";
    message += text;
    message += "' is not a valid integer value";
    return message;
}

std::int32_t textToInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }

    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }

    int base = 10;
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        base = 16;
        pos += 1;
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        pos += 2;
    }

    // The magnitude may reach 2^31 only for a negative value; stop accumulating as soon as it
    // passes that, so that any number of digits is handled without overflow.
    constexpr std::int64_t kMaxMagnitude =
        std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    const std::int64_t limit = negative ? kMaxMagnitude : kMaxMagnitude - 1;
    std::int64_t magnitude = 0;
    if (pos == text.size()) {
        throw UserError(notAnIntegerMessage(text));
    }
    for (; pos < text.size(); ++pos) {
        const int digit = digitValue(text[pos], base);
        if (digit < 0) {
            throw UserError(notAnIntegerMessage(text));
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            throw UserError(notAnIntegerMessage(text));
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace kt730
