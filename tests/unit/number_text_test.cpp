#include "link/number_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "link/user_error.h"

namespace kt730 {
namespace {

struct NumberCase {
    std::array<std::uint8_t, 4> bytes;
    std::string_view text;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    for (const auto b : c.bytes) {
        *os << std::hex << static_cast<int>(b) << ' ';
    }
    *os << "-> " << c.text;
}

class SingleToTextTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SingleToTextTest, GivesTheGeneralFifteenDigitText) {
    const auto& [b, text] = GetParam();
    EXPECT_EQ(singleToText(b[0], b[1], b[2], b[3]), text);
}

// The rows every implementation of the number text must reproduce.
INSTANTIATE_TEST_SUITE_P(
    ReferenceRows, SingleToTextTest,
    ::testing::Values(
        NumberCase{{0x41, 0x20, 0x00, 0x00}, "10"}, NumberCase{{0xC2, 0xC8, 0x00, 0x00}, "-100"},
        NumberCase{{0x3D, 0xCC, 0xCC, 0xCD}, "0.100000001490116"},
        NumberCase{{0x42, 0xF6, 0xE9, 0x79}, "123.456001281738"},
        NumberCase{{0x38, 0xD1, 0xB7, 0x17}, "9.99999974737875E-5"},
        NumberCase{{0x60, 0xAD, 0x78, 0xEC}, "1.00000002004088E20"},
        NumberCase{{0x50, 0x15, 0x02, 0xF9}, "10000000000"},
        NumberCase{{0x7F, 0x7F, 0xFF, 0xFF}, "3.40282346638529E38"},
        NumberCase{{0xFF, 0xFF, 0xFF, 0xFF}, "NAN"}, NumberCase{{0x7F, 0x80, 0x00, 0x00}, "INF"},
        NumberCase{{0xFF, 0x80, 0x00, 0x00}, "-INF"}, NumberCase{{0x80, 0x00, 0x00, 0x00}, "0"},
        NumberCase{{0x46, 0x40, 0xE6, 0xB6}, "12345.677734375"}));

// Worked out by hand from the exact binary values.
INSTANTIATE_TEST_SUITE_P(
    Special, SingleToTextTest,
    ::testing::Values(NumberCase{{0x00, 0x00, 0x00, 0x00}, "0"},
                      NumberCase{{0x7F, 0xC0, 0x00, 0x00}, "NAN"},  // quiet NaN
                      NumberCase{{0xFF, 0xC0, 0x00, 0x01}, "NAN"},  // quiet NaN, sign set
                      NumberCase{{0x7F, 0xFF, 0xFF, 0xFF}, "NAN"}));

INSTANTIATE_TEST_SUITE_P(
    FixedAndScientific, SingleToTextTest,
    ::testing::Values(NumberCase{{0x3F, 0x80, 0x00, 0x00}, "1"},
                      NumberCase{{0x3F, 0x00, 0x00, 0x00}, "0.5"},
                      NumberCase{{0xBD, 0xCC, 0xCC, 0xCD}, "-0.100000001490116"},
                      // 2^49 = 562949953421312 has 15 digits: still fixed.
                      NumberCase{{0x58, 0x00, 0x00, 0x00}, "562949953421312"},
                      // 2^50 = 1125899906842624 has 16: scientific, the 16th digit 4 rounds down.
                      NumberCase{{0x58, 0x80, 0x00, 0x00}, "1.12589990684262E15"},
                      NumberCase{{0xD8, 0x80, 0x00, 0x00}, "-1.12589990684262E15"},
                      // 2^-10 = 0.0009765625 (E = -3) is the smallest exponent still fixed.
                      NumberCase{{0x3A, 0x80, 0x00, 0x00}, "0.0009765625"},
                      // 2^-13 = 0.0001220703125, E = -3.
                      NumberCase{{0x39, 0x00, 0x00, 0x00}, "0.0001220703125"},
                      // 2^-14 = 0.00006103515625, E = -4: scientific with a negative exponent.
                      NumberCase{{0x38, 0x80, 0x00, 0x00}, "6.103515625E-5"},
                      // 0.001f is 0.001000000047497451305389404296875.
                      NumberCase{{0x3A, 0x83, 0x12, 0x6F}, "0.00100000004749745"},
                      // 2^70 = 1180591620717411303424: the 16th digit 1 is dropped.
                      NumberCase{{0x62, 0x80, 0x00, 0x00}, "1.18059162071741E21"}));

INSTANTIATE_TEST_SUITE_P(
    Rounding, SingleToTextTest,
    ::testing::Values(
        // 2^-22 = 2.384185791015625E-7: the sixteenth digit is a 5 with nothing after it, and
        // it rounds up even though the fifteenth digit (2) is even.
        NumberCase{{0x34, 0x80, 0x00, 0x00}, "2.38418579101563E-7"},
        // 1 + 1675 * 2^-23 = 1.00019967555999755859375: the carry runs through three nines
        // and the zeros it leaves are dropped.
        NumberCase{{0x3F, 0x80, 0x06, 0x8B}, "1.00019967556"},
        // 1 + 12 * 2^-23 = 1.000001430511474609375: the sixteenth digit 4 decides, not the
        // 6 after it (rounding twice would give ...148).
        NumberCase{{0x3F, 0x80, 0x00, 0x0C}, "1.00000143051147"},
        // 1 + 78 * 2^-23 = 1.0000092983245849609375: digits 16 to 18 are 4, 9, 6.
        NumberCase{{0x3F, 0x80, 0x00, 0x4E}, "1.00000929832458"},
        // The largest value below one, 1 - 2^-24 = 0.999999940395355224609375.
        NumberCase{{0x3F, 0x7F, 0xFF, 0xFF}, "0.999999940395355"},
        // The smallest subnormal, 2^-149 = 1.40129846432481707...E-45.
        NumberCase{{0x00, 0x00, 0x00, 0x01}, "1.40129846432482E-45"},
        NumberCase{{0x80, 0x00, 0x00, 0x01}, "-1.40129846432482E-45"}));

TEST(SingleToText, SignallingNanFailsWithTheFloatingPointError) {
    constexpr std::array<std::array<std::uint8_t, 4>, 4> kSignalling = {{
        {0x7F, 0x80, 0x00, 0x01},
        {0xFF, 0x80, 0x00, 0x01},
        {0x7F, 0xBF, 0xFF, 0xFF},
        {0xFF, 0xA0, 0x00, 0x00},
    }};
    for (const auto& b : kSignalling) {
        try {
            (void)singleToText(b[0], b[1], b[2], b[3]);
            ADD_FAILURE() << "no error for " << std::hex << int{b[0]} << ' ' << int{b[1]};
        } catch (const UserError& e) {
            EXPECT_STREQ(e.what(), "Invalid floating point operation");
        }
    }
}

}  // namespace
}  // namespace kt730
