#include "hart/hart_units.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string_view>

namespace kt730::hart {
namespace {

TEST(HartUnitItem, CodeSelectsItsItem) {
    struct Case {
        std::uint8_t code;
        int item;
    };
    constexpr Case kCases[] = {
        {1, 0},     // the first row
        {11, 8},    // after the gap 9, 10
        {237, 11},  // MPa, far out of code order
        {32, 12},   // degrees Celsius
        {165, 74},  // the last named item
        {57, 75},   // "%"
        {61, 46},   // kg
        {62, 47},   // MetTon
        {75, 55},   // either side of the codes 76 and 77
        {78, 56},   //
        {0, 76},    // codes not in the table select "other"
        {9, 76},    //
        {76, 76},   //
        {77, 76},   //
        {79, 76},   //
        {250, 76},  // the HART "not used" code
        {255, 76},  //
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(hartUnitItem(c.code), c.item) << "code " << +c.code;
    }
}

TEST(HartUnitItem, SeventySixCodesSelectEachNamedItemOnce) {
    std::array<int, kUnitItemCount> hits{};
    for (int code = 0; code <= 255; ++code) {
        const int item = hartUnitItem(static_cast<std::uint8_t>(code));
        ASSERT_GE(item, 0);
        ASSERT_LT(item, kUnitItemCount);
        ++hits[static_cast<std::size_t>(item)];
    }
    for (int item = 0; item < kOtherUnitItem; ++item) {
        EXPECT_EQ(hits[static_cast<std::size_t>(item)], 1) << "item " << item;
    }
    EXPECT_EQ(hits[kOtherUnitItem], 256 - 76);
}

// What the common list shows after a reply carries each unit code: the code picks the item, the
// item its text, trailing blanks included.
TEST(HartUnitItems, EachCodeShowsItsUnitText) {
    struct Case {
        std::uint8_t code;
        std::string_view text;
    };
    constexpr Case kCases[] = {
        {1, "inH20 "},
        {2, "inhg  "},
        {3, "FtH20  "},
        {4, "mmH20 "},
        {5, "mmHg   "},
        {6, "psi   "},
        {7, "bar    "},
        {8, "mbar   "},
        {11, "Pa     "},
        {12, "KPa   "},
        {14, "ATM    "},
        {237, "MPa    "},
        {32, "°C  "},
        {33, "华氏度  "},
        {34, "兰氏度   "},
        {35, "Kelvin "},
        {15, "CuFt_min "},
        {16, "gal_min  "},
        {17, "l_min   "},
        {19, "CuMtr_hr "},
        {24, "l_s      "},
        {26, "Cuft_s  "},
        {28, "CuMtr_s  "},
        {131, "CuMtr_min "},
        {136, "gal_hr    "},
        {138, "l_hr      "},
        {20, "ft_s      "},
        {21, "mtr_s    "},
        {114, "in_s      "},
        {115, "in_min    "},
        {116, "ft_min   "},
        {120, "mtr_hr    "},
        {40, "gal      "},
        {41, "liter    "},
        {43, "CuMtr       "},
        {46, "bbl      "},
        {111, "CuYd     "},
        {112, "CuFt      "},
        {113, "CuIn"},
        {124, "bbl_liq      "},
        {44, "ft        "},
        {45, "M    "},
        {47, "in         "},
        {48, "cm       "},
        {49, "mm       "},
        {60, "gram     "},
        {61, "kg        "},
        {62, "MetTon    "},
        {63, "lb       "},
        {125, "ounce     "},
        {70, "g_s       "},
        {71, "g_min     "},
        {72, "g_hr     "},
        {73, "kg_s     "},
        {74, "kg_min   "},
        {75, "metTOM_min "},
        {78, "metton_hr  "},
        {80, "lb_s       "},
        {81, "lb_min     "},
        {82, "lb_hr      "},
        {91, "g_CuCM     "},
        {92, "KG_CuMtr   "},
        {93, "lb_gal    "},
        {94, "lb_Cuft    "},
        {95, "g_ml      "},
        {96, "kb_l       "},
        {97, "g_l        "},
        {54, "centi_stokes "},
        {55, "cpoise       "},
        {69, "mewtom_meter  "},
        {89, "deka_therm    "},
        {126, "foot_pound_force "},
        {128, "kilo_watt_hour    "},
        {164, "mega_joule       "},
        {165, "british_thermal_unit "},
        {57, "%"},
        {0, "other"},
        {76, "other"},
    };
    const auto items = hartUnitItems(0);
    for (const Case& c : kCases) {
        const int item = hartUnitItem(c.code);
        ASSERT_GE(item, 0);
        ASSERT_LT(item, kUnitItemCount);
        EXPECT_EQ(items[static_cast<std::size_t>(item)], c.text) << "code " << +c.code;
    }
}

TEST(HartUnitItems, NoItemIsMissing) {
    const auto items = hartUnitItems(0);
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_FALSE(items[i].empty()) << "item " << i;
    }
}

TEST(HartUnitItems, VariantsDifferInOneItemByBlanks) {
    struct Case {
        int variant;
        int item;
        std::string_view text;
    };
    constexpr Case kCases[] = {
        {1, 14, "兰氏度    "},  // four trailing blanks
        {2, 12, "°C "},         // one trailing blank
    };
    const auto common = hartUnitItems(0);
    for (const Case& c : kCases) {
        const auto items = hartUnitItems(c.variant);
        for (int i = 0; i < kUnitItemCount; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (i == c.item) {
                EXPECT_EQ(items[at], c.text) << "variant " << c.variant;
            } else {
                EXPECT_EQ(items[at], common[at]) << "variant " << c.variant << " item " << i;
            }
        }
    }
}

}  // namespace
}  // namespace kt730::hart
