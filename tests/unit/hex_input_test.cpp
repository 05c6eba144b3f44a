#include "hart/hex_input.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kt730::hart {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct HexCase {
    std::string text;
    std::size_t limit;
    Bytes bytes;               // expected when `message` is empty
    std::string_view message;  // expected failure
};

void PrintTo(const HexCase& c, std::ostream* os) { *os << '"' << c.text << "\" limit " << c.limit; }

HexCase accepted(std::string text, std::size_t limit, Bytes bytes) {
    return {std::move(text), limit, std::move(bytes), {}};
}
HexCase refused(std::string text, std::size_t limit, std::string_view message) {
    return {std::move(text), limit, {}, message};
}

// "00 01 02 ... " with `count` pairs, each followed by a blank.
std::string pairs(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        constexpr std::string_view kDigits = "0123456789ABCDEF";
        text += kDigits[static_cast<std::size_t>(i / 16)];
        text += kDigits[static_cast<std::size_t>(i % 16)];
        text += ' ';
    }
    return text;
}

Bytes counting(int count) {
    Bytes bytes;
    for (int i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i));
    }
    return bytes;
}

class ParseHexBytesTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(ParseHexBytesTest, GivesTheBytesOrOneMessage) {
    const HexCase& c = GetParam();
    const HexInput input = parseHexBytes(c.text, c.limit);
    EXPECT_EQ(input.message, c.message);
    EXPECT_EQ(input.bytes, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, ParseHexBytesTest,
    ::testing::Values(
        accepted("02 80 00 00", 15, {0x02, 0x80, 0x00, 0x00}),
        accepted("01 03 00 0A", 15, {0x01, 0x03, 0x00, 0x0A}),
        accepted("76 89 FD AD", 15, {0x76, 0x89, 0xFD, 0xAD}),
        accepted("AB", 15, {0xAB}),               // one pair without its blank
        accepted("01 ", 15, {0x01}),              // one pair with its blank
        accepted("01 02 ", 15, {0x01, 0x02}),     // last group with its blank
        accepted("01 02 0", 15, {0x01, 0x02}),    // a last single character is ignored
        accepted("0102", 15, {0x01}),             // four characters make one group
        accepted("01 02 03", 2, {0x01, 0x02}),    // the limit cuts before the third group
        accepted("01 02-03", 2, {0x01, 0x02}),    // ... and its separator is not looked at
        accepted("01 02 zz", 2, {0x01, 0x02})));  // ... nor its digits

INSTANTIATE_TEST_SUITE_P(Limits, ParseHexBytesTest,
                         ::testing::Values(accepted(pairs(16), 15, counting(15)),
                                           accepted(pairs(15), 14, counting(14)),
                                           accepted(pairs(15), 15, counting(15)),
                                           accepted(pairs(15) + "0G", 15, counting(15)),
                                           accepted(pairs(14) + "0D", 14, counting(14))));

INSTANTIATE_TEST_SUITE_P(
    NoSeparator, ParseHexBytesTest,
    ::testing::Values(refused("", 15, kNoSeparatorMessage),
                      refused("7", 15, kNoSeparatorMessage),  // one character: no group
                      refused("01020304", 15, kNoSeparatorMessage),
                      refused("01-02", 15, kNoSeparatorMessage),
                      refused("01 02,03", 15, kNoSeparatorMessage),
                      refused("0g 01-02", 15, kNoSeparatorMessage),  // checked before digits
                      refused("01 02", 0, kNoSeparatorMessage)));

INSTANTIATE_TEST_SUITE_P(
    BadDigit, ParseHexBytesTest,
    ::testing::Values(refused("0a", 15, kBadDigitMessage),        // lower case is not a digit
                      refused("ab cd", 15, kBadDigitMessage),     // nor in the high place
                      refused("0-", 15, kBadDigitMessage),        // punctuation as low digit
                      refused("01  02", 15, kBadDigitMessage),    // second blank in a digit place
                      refused(" 01", 15, kBadDigitMessage),       // a leading blank shifts the pair
                      refused("G1 02", 15, kBadDigitMessage),     // only the first group bad
                      refused("01 02 0x", 15, kBadDigitMessage),  // only the last group bad
                      refused("0G 0H 0I", 15, kBadDigitMessage)));  // every group bad

// The engineer's text arrives as UTF-8; group positions count characters, not bytes.
INSTANTIATE_TEST_SUITE_P(
    Characters, ParseHexBytesTest,
    ::testing::Values(refused("\xC3\xA9", 15, kNoSeparatorMessage),   // "é": one character
                      refused("0\xC3\xA9 02", 15, kBadDigitMessage),  // "0é 02": blank in place
                      refused("\xEF\xBC\x90\xEF\xBC\x91 02", 15,      // full-width "01"
                              kBadDigitMessage)));

TEST(ParseHexBytes, ReadsOnlyTheGivenText) {
    // The view ends before characters that would make another group.
    const std::string_view buffer = "01 02 03";
    EXPECT_EQ(parseHexBytes(buffer.substr(0, 5), 15).bytes, (Bytes{0x01, 0x02}));
    EXPECT_EQ(parseHexBytes(buffer.substr(0, 4), 15).bytes, (Bytes{0x01}));
    EXPECT_EQ(parseHexBytes(buffer.substr(0, 1), 15).message, kNoSeparatorMessage);
}

}  // namespace
}  // namespace kt730::hart
