#include "link/command_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace kt730 {
namespace {

template <std::size_t N>
std::string asText(const std::array<std::uint8_t, N>& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(IndexDigit, IsTheIndexAddedToTheDigitZero) {
    struct Case {
        int index;
        std::uint8_t byte;
    };
    constexpr Case kCases[] = {
        {0, '0'},    {5, '5'}, {9, '9'}, {-1, '/'},  // no selection
        {10, ':'},                                   // past the digits
        {208, 0x00},                                 // 256 kept to its low 8 bits
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(indexDigit(c.index), c.byte) << "index " << c.index;
    }
}

struct DigitsCase {
    std::int32_t value;
    std::string_view text;
};

TEST(ThreeDigits, TruncatingDivisionKeptToEightBits) {
    constexpr DigitsCase kCases[] = {
        {0, "000"},     {5, "005"},   {7, "007"},
        {123, "123"},   {999, "999"}, {1000, ":00"},  // the hundreds digit runs past '9'
        {-5, "00+"},                                  // remainder -5 gives '0' - 5
        {-123, "/.-"},                                // each digit negative
        {25600, "000"},                               // 256 + '0' wraps to '0'
    };
    for (const DigitsCase& c : kCases) {
        EXPECT_EQ(asText(threeDigits(c.value)), c.text) << "value " << c.value;
    }
}

TEST(FiveDigits, TruncatingDivisionKeptToEightBits) {
    constexpr DigitsCase kCases[] = {
        {0, "00000"},     {12, "00012"},     {40001, "40001"}, {65535, "65535"},
        {99999, "99999"}, {100000, ":0000"}, {-1, "0000/"},
    };
    for (const DigitsCase& c : kCases) {
        EXPECT_EQ(asText(fiveDigits(c.value)), c.text) << "value " << c.value;
    }
}

TEST(ZeroPadded, AtLeastWidthDigitsWithTheSignInFront) {
    struct Case {
        std::int32_t value;
        int width;
        std::string_view text;
    };
    constexpr Case kCases[] = {
        {123, 8, "00000123"},
        {0, 8, "00000000"},
        {12345678, 8, "12345678"},
        {123456789, 8, "123456789"},  // a ninth digit is kept
        {-123, 8, "-00000123"},
        {7, 3, "007"},
        {-7, 3, "-007"},
        {104, 3, "104"},
        {5, 0, "5"},
        {std::numeric_limits<std::int32_t>::min(), 8, "-2147483648"},
        {std::numeric_limits<std::int32_t>::max(), 12, "002147483647"},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(zeroPadded(c.value, c.width), c.text) << c.value << " width " << c.width;
    }
}

}  // namespace
}  // namespace kt730
