#include "hart/hart_reply.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "hart/hart_frame.h"
#include "link/user_error.h"

namespace kt730::hart {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kShort = kShortReplyDelimiter;
constexpr std::uint8_t kLong = kLongReplyDelimiter;

TEST(FindHartReply, FindsTheLastPreambleByteBeforeTheDelimiter) {
    struct Case {
        const char* what;
        Bytes area;
        std::size_t replyLength;
        std::uint8_t delimiter;
        std::optional<std::size_t> position;
    };
    const Case cases[] = {
        {"four bytes are too few", {0xFF, kShort, 0x80, 0x00}, 4, kShort, std::nullopt},
        {"four counted bytes, even with more in the area",
         {0xFF, kShort, 0x80, 0x00, 0x00, 0x00},
         4,
         kShort,
         std::nullopt},
        {"five bytes, match at 0", {0xFF, kShort, 0x80, 0x00, 0x00}, 5, kShort, 0},
        {"preamble run: its last byte",
         {0xFF, 0xFF, 0xFF, kLong, 0x80, 0x00, 0x00, 0x00, 0x00},
         9,
         kLong,
         2},
        {"other delimiter", {0xFF, kLong, 0x80, 0x00, 0x00, 0x00}, 6, kShort, std::nullopt},
        {"first of two matches",
         {0x00, 0xFF, kShort, 0xFF, kShort, 0x00, 0x00, 0x00},
         8,
         kShort,
         1},
        {"last scanned position is length - 5",
         {0x00, 0xFF, kShort, 0x00, 0x00, 0x00},
         6,
         kShort,
         1},
        {"a match at length - 4 is not scanned",
         {0x00, 0x00, 0xFF, kShort, 0x00, 0x00},
         6,
         kShort,
         std::nullopt},
        {"a match beyond the reply length is ignored",
         {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, kLong, 0x00, 0x00},
         6,
         kLong,
         std::nullopt},
        {"delimiter without preamble byte",
         {kShort, 0xFF, 0x00, 0x00, 0x00},
         5,
         kShort,
         std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findHartReply(c.area, c.replyLength, c.delimiter), c.position) << c.what;
    }
}

TEST(FindHartReply, ReadsNothingPastTheReceiveArea) {
    // The byte after the area would complete a match; a reply length larger than the area
    // must not reach it.
    const std::array<std::uint8_t, 7> memory = {0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, kLong};
    const std::span<const std::uint8_t> area(memory.data(), 6);
    EXPECT_EQ(findHartReply(area, 255, kLong), std::nullopt);
    EXPECT_EQ(findHartReply(memory, 255, kLong), 5u);
}

TEST(HartVariableCount, FollowsTheByteCount) {
    struct Case {
        std::uint8_t byteCount;
        int variables;
    };
    constexpr Case kCases[] = {
        {0, 1},  {2, 1},  {11, 1},  // variable 1 is always read
        {12, 2}, {16, 2},           // ... variable 2 from 12
        {17, 3}, {21, 3},           // ... variable 3 from 17
        {22, 4}, {26, 4}, {255, 4},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(hartVariableCount(c.byteCount), c.variables) << "byte count " << +c.byteCount;
    }
}

TEST(ShowHartVariable, CutsTheNumberTextToNineCharacters) {
    struct Case {
        std::array<std::uint8_t, 4> value;
        std::string_view text;
    };
    constexpr Case kCases[] = {
        {{0x41, 0x20, 0x00, 0x00}, "10"},         // short texts are not padded
        {{0x3D, 0xCC, 0xCC, 0xCD}, "0.1000000"},  // 0.100000001490116
        {{0x46, 0x40, 0xE6, 0xB6}, "12345.677"},  // 12345.677734375
        {{0xC2, 0xC8, 0x00, 0x00}, "-100"},       // the sign stays
        {{0x60, 0xAD, 0x78, 0xEC}, "1.0000000"},  // 1.00000002004088E20 loses its exponent
        {{0x38, 0xD1, 0xB7, 0x17}, "9.9999997"},  // 9.99999974737875E-5
        {{0xBD, 0xCC, 0xCC, 0xCD}, "-0.100000"},  // the sign takes one of the nine
        {{0x7F, 0xA0, 0x00, 0x00}, "00000000"},   // HART "not a number"
        {{0x7F, 0x80, 0x00, 0x00}, "00000000"},   // +INF, not converted
        {{0x7F, 0x80, 0x00, 0x01}, "00000000"},   // signalling, but led by 7F: not converted
        {{0xFF, 0xC0, 0x00, 0x00}, "NAN"},        // quiet NaN led by FF is converted
        {{0xFF, 0x80, 0x00, 0x00}, "-INF"},       // negative infinity
        {{0x80, 0x00, 0x00, 0x00}, "0"},          // negative zero
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(showHartVariable(c.value), c.text) << "expected " << c.text;
    }
}

TEST(ShowHartVariable, SignallingNanLedByFFFails) {
    constexpr std::array<std::uint8_t, 4> kFirst = {0xFF, 0x80, 0x00, 0x01};
    constexpr std::array<std::uint8_t, 4> kLast = {0xFF, 0xBF, 0xFF, 0xFF};
    EXPECT_THROW(showHartVariable(kFirst), UserError);
    EXPECT_THROW(showHartVariable(kLast), UserError);
}

}  // namespace
}  // namespace kt730::hart
