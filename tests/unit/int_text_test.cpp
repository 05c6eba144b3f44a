#include "link/int_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "link/user_error.h"

namespace kt730 {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct IntCase {
    std::string_view text;
    std::optional<std::int32_t> value;  // nothing: the text is refused
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class TextToIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(TextToIntTest, FollowsTheIntegerRule) {
    const IntCase& c = GetParam();
    if (c.value) {
        EXPECT_EQ(textToInt(c.text), *c.value);
    } else {
        EXPECT_THROW(textToInt(c.text), UserError);
    }
}

INSTANTIATE_TEST_SUITE_P(Decimal, TextToIntTest,
                         ::testing::Values(IntCase{"0", 0}, IntCase{"7", 7}, IntCase{"-5", -5},
                                           IntCase{"+7", 7}, IntCase{"  +7", 7},
                                           IntCase{"   -12", -12}, IntCase{"007", 7},
                                           IntCase{"-0", 0}, IntCase{"0000000000042", 42},
                                           IntCase{"2147483647", kMax},
                                           IntCase{"-2147483648", kMin}));

INSTANTIATE_TEST_SUITE_P(Hexadecimal, TextToIntTest,
                         ::testing::Values(IntCase{"$1F", 31}, IntCase{"$1f", 31},
                                           IntCase{"x1f", 31}, IntCase{"X1F", 31},
                                           IntCase{"0x10", 16}, IntCase{"0X10", 16},
                                           IntCase{"-$10", -16}, IntCase{"+x0A", 10},
                                           IntCase{" $00000000FF", 255}, IntCase{"$7FFFFFFF", kMax},
                                           IntCase{"-$80000000", kMin},
                                           IntCase{"-0x80000000", kMin}));

INSTANTIATE_TEST_SUITE_P(
    Refused, TextToIntTest,
    ::testing::Values(IntCase{"", {}}, IntCase{" ", {}}, IntCase{"-", {}}, IntCase{"+", {}},
                      IntCase{"7 ", {}}, IntCase{"1 2", {}}, IntCase{"- 7", {}}, IntCase{"+-7", {}},
                      IntCase{"--7", {}}, IntCase{"\t7", {}}, IntCase{"1e3", {}},
                      IntCase{"12a", {}}, IntCase{"1.0", {}}, IntCase{"$", {}}, IntCase{"x", {}},
                      IntCase{"0x", {}}, IntCase{"$1G", {}}, IntCase{"$ 1", {}},
                      IntCase{"00x1", {}}, IntCase{"0b1", {}}, IntCase{"2147483648", {}},
                      IntCase{"-2147483649", {}}, IntCase{"$80000000", {}},
                      IntCase{"$FFFFFFFF", {}}, IntCase{"-$80000001", {}},
                      IntCase{"99999999999999999999", {}}, IntCase{"\xEF\xBC\x97", {}}));

TEST(TextToInt, RefusalQuotesTheWholeTextAsTyped) {
    try {
        textToInt("  1e3");
        FAIL() << "no error for \"  1e3\"";
    } catch (const UserError& e) {
        EXPECT_STREQ(e.what(), "'  1e3' is not a valid integer value");
    }
}

TEST(NotAnIntegerMessage, WrapsTheTextInQuotes) {
    EXPECT_EQ(notAnIntegerMessage(""), "'' is not a valid integer value");
    EXPECT_EQ(notAnIntegerMessage("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(notAnIntegerMessage("°C"), "'°C' is not a valid integer value");
}

}  // namespace
}  // namespace kt730
