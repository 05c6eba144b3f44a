#include "hart/hex_input.h"

#include <algorithm>
#include <string>

namespace kt730::hart {

namespace {

constexpr std::size_t kGroupSize = 3;  // two digits and a blank

// The typed text as characters: the engineer's text arrives as UTF-8, but the group positions
// count characters as typed, so a multi-byte character takes one place. A byte that does not
// start a well-formed sequence takes one place of its own.
std::u32string characters(std::string_view text) {
    std::u32string chars;
    chars.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t cp = lead;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07u;
        }
        bool wellFormed = i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            wellFormed = (next & 0xC0u) == 0x80u;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        if (!wellFormed) {
            length = 1;
            cp = lead;
        }
        chars += cp;
        i += length;
    }
    return chars;
}

// 0..15 for '0'..'9' and 'A'..'F'; -1 otherwise (lower case included).
int hexDigit(char32_t c) {
    if (c >= U'0' && c <= U'9') {
        return static_cast<int>(c - U'0');
    }
    if (c >= U'A' && c <= U'F') {
        return static_cast<int>(c - U'A') + 10;
    }
    return -1;
}

}  // namespace

HexInput parseHexBytes(std::string_view text, std::size_t limit) {
    const std::u32string chars = characters(text);
    const std::size_t length = chars.size();

    // A last pair without its blank counts as a group; a last single character does not.
    std::size_t groups = length / kGroupSize;
    if (length % kGroupSize == 2) {
        ++groups;
    }
    groups = std::min(groups, limit);

    if (groups == 0) {
        return {{}, kNoSeparatorMessage};
    }
    for (std::size_t k = 0; k + 1 < groups; ++k) {
        if (chars[kGroupSize * k + 2] != U' ') {
            return {{}, kNoSeparatorMessage};
        }
    }

    HexInput input;
    input.bytes.reserve(groups);
    bool valid = true;
    for (std::size_t k = 0; k < groups; ++k) {
        const int high = hexDigit(chars[kGroupSize * k]);
        const int low = hexDigit(chars[kGroupSize * k + 1]);
        if (high < 0 || low < 0) {
            valid = false;
            continue;
        }
        input.bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if (!valid) {
        return {{}, kBadDigitMessage};
    }
    return input;
}

}  // namespace kt730::hart
