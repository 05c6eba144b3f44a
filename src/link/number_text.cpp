#include "link/number_text.h"

#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "link/user_error.h"

namespace kt730 {

namespace {

constexpr int kSignificantDigits = 15;
// The lowest and highest decimal exponent E (value = 0.d1d2... * 10^E) shown in fixed form.
constexpr int kFixedMinExponent = -3;
constexpr int kFixedMaxExponent = 15;

constexpr std::uint32_t kSignBit = 0x8000'0000;
constexpr std::uint32_t kExponentBits = 0x7F80'0000;
constexpr std::uint32_t kFractionBits = 0x007F'FFFF;
constexpr std::uint32_t kQuietBit = 0x0040'0000;

// Every binary32 value is a multiple of 2^-149 below 2^128, so its exact decimal expansion has
// fewer than 150 significant digits; asking for that many leaves nothing to round.
constexpr int kExactPrecision = 149;

struct Decimal {
    std::string digits;  // significant digits, first one not zero, no trailing zeros
    int exponent = 0;    // E with value = 0.d1d2d3... * 10^E
};

// The magnitude rounded to 15 significant digits: a 5 or more in the sixteenth digit rounds up.
Decimal roundedDigits(double magnitude) {
    // to_chars is locale-independent and exact at any precision, unlike printf under a user locale.
    char buffer[kExactPrecision + 16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, kExactPrecision);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));

    // text is "d.ddd...e[+-]xx".
    const std::size_t ePos = text.find('e');
    std::string all;
    all += text[0];
    all += text.substr(2, ePos - 2);
    int scientificExponent = 0;
    const std::string_view expText = text.substr(ePos + 1);
    std::from_chars(expText.data() + (expText[0] == '+' ? 1 : 0), expText.data() + expText.size(),
                    scientificExponent);

    Decimal d;
    d.exponent = scientificExponent + 1;
    d.digits = all.substr(0, kSignificantDigits);
    if (all[kSignificantDigits] >= '5') {
        int i = kSignificantDigits - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            d.digits.pop_back();
            ++d.exponent;
        }
    }
    const std::size_t last = d.digits.find_last_not_of('0');
    d.digits.erase(last + 1);
    return d;
}

std::string fixedForm(const Decimal& d) {
    std::string text;
    const auto count = static_cast<int>(d.digits.size());
    if (d.exponent >= 1) {
        if (count <= d.exponent) {
            text = d.digits;
            text.append(static_cast<std::size_t>(d.exponent - count), '0');
        } else {
            text = d.digits.substr(0, static_cast<std::size_t>(d.exponent));
            text += '.';
            text += d.digits.substr(static_cast<std::size_t>(d.exponent));
        }
    } else {
        text = "0.";
        text.append(static_cast<std::size_t>(-d.exponent), '0');
        text += d.digits;
    }
    return text;
}

std::string scientificForm(const Decimal& d) {
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1) {
        text += '.';
        text += d.digits.substr(1);
    }
    text += 'E';
    text += std::to_string(d.exponent - 1);
    return text;
}

}  // namespace

std::string singleToText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    const std::uint32_t bits = (std::uint32_t{b0} << 24) | (std::uint32_t{b1} << 16) |
                               (std::uint32_t{b2} << 8) | std::uint32_t{b3};
    const bool negative = (bits & kSignBit) != 0;

    if ((bits & kExponentBits) == kExponentBits) {
        if ((bits & kFractionBits) == 0) {
            return negative ? "-INF" : "INF";
        }
        if ((bits & kQuietBit) == 0) {
            // The module's users have always been shown this fault for a signalling NaN.
            throw UserError("Invalid floating point operation");
        }
        return "NAN";
    }
    if ((bits & ~kSignBit) == 0) {
        return "0";
    }

    // Widening to double is exact, so the digits below are those of the instrument's value.
    const double magnitude = static_cast<double>(std::bit_cast<float>(bits & ~kSignBit));
    const Decimal d = roundedDigits(magnitude);
    const bool fixed = d.exponent >= kFixedMinExponent && d.exponent <= kFixedMaxExponent;
    std::string text = fixed ? fixedForm(d) : scientificForm(d);
    return negative ? "-" + text : text;
}

}  // namespace kt730
