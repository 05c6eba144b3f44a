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
        {1, 0},     {2, 1},    {11, 8},   {12, 9},   {237, 11},  // pressure, MPa far out of order
        {32, 12},   {33, 13},  {34, 14},  {35, 15},  {7, 6},     //
        {19, 19},   {57, 75},  {165, 74}, {61, 46},  {62, 47},   //
        {75, 55},   {78, 56},                                    // next to the gaps 76, 77
        {0, 76},    {9, 76},   {10, 76},  {76, 76},  {77, 76},   // not in the table: other
        {79, 76},   {250, 76}, {255, 76}, {58, 76},  {238, 76},
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

TEST(HartUnitItems, TextsKeepTheirTrailingBlanks) {
    struct Case {
        int item;
        std::string_view text;
    };
    constexpr Case kCases[] = {
        {0, "inH20 "},       {1, "inhg  "},          {6, "bar    "},
        {9, "KPa   "},       {12, "°C  "},           {13, "华氏度  "},
        {14, "兰氏度   "},   {19, "CuMtr_hr "},      {34, "CuMtr       "},
        {38, "CuIn"},        {46, "kg        "},     {47, "MetTon    "},
        {55, "metTOM_min "}, {56, "metton_hr  "},    {71, "foot_pound_force "},
        {74, "british_thermal_unit "},               {75, "%"},
        {76, "other"},
    };
    const auto items = hartUnitItems(0);
    for (const Case& c : kCases) {
        EXPECT_EQ(items[static_cast<std::size_t>(c.item)], c.text) << "item " << c.item;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_FALSE(items[i].empty()) << "item " << i << " is missing";
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
