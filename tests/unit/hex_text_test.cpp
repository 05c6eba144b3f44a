#include "link/hex_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string_view>

namespace kt730 {
namespace {

TEST(ByteToHex, TwoUpperCaseDigitsOrAPointOutOfRange) {
    struct Case {
        int value;
        std::string_view text;
    };
    constexpr Case kCases[] = {{0, "00"},   {9, "09"},  {10, "0A"}, {16, "10"}, {171, "AB"},
                               {255, "FF"}, {256, "."}, {-1, "."},  {1000, "."}};
    for (const Case& c : kCases) {
        EXPECT_EQ(byteToHex(c.value), c.text) << "value " << c.value;
    }
}

TEST(HexPairs, EachPairIsFollowedByOneBlank) {
    constexpr std::array<std::uint8_t, 2> kTwo = {0x02, 0x80};
    EXPECT_EQ(hexPairs(kTwo), "02 80 ");

    constexpr std::array<std::uint8_t, 5> kFrameEnd = {0xFF, 0x02, 0x00, 0xAB, 0x0F};
    EXPECT_EQ(hexPairs(kFrameEnd), "FF 02 00 AB 0F ");

    EXPECT_EQ(hexPairs({}), "");
}

}  // namespace
}  // namespace kt730
