#include "hart/hart_units.h"

#include <algorithm>
#include <utility>

namespace kt730::hart {

namespace {

// The unit list items as the window shows them, trailing blanks included.
constexpr std::array<std::string_view, kUnitItemCount> kCommonItems = {
    "inH20 ",                 // 0
    "inhg  ",                 // 1
    "FtH20  ",                // 2
    "mmH20 ",                 // 3
    "mmHg   ",                // 4
    "psi   ",                 // 5
    "bar    ",                // 6
    "mbar   ",                // 7
    "Pa     ",                // 8
    "KPa   ",                 // 9
    "ATM    ",                // 10
    "MPa    ",                // 11
    "°C  ",                   // 12
    "华氏度  ",               // 13
    "兰氏度   ",              // 14
    "Kelvin ",                // 15
    "CuFt_min ",              // 16
    "gal_min  ",              // 17
    "l_min   ",               // 18
    "CuMtr_hr ",              // 19
    "l_s      ",              // 20
    "Cuft_s  ",               // 21
    "CuMtr_s  ",              // 22
    "CuMtr_min ",             // 23
    "gal_hr    ",             // 24
    "l_hr      ",             // 25
    "ft_s      ",             // 26
    "mtr_s    ",              // 27
    "in_s      ",             // 28
    "in_min    ",             // 29
    "ft_min   ",              // 30
    "mtr_hr    ",             // 31
    "gal      ",              // 32
    "liter    ",              // 33
    "CuMtr       ",           // 34
    "bbl      ",              // 35
    "CuYd     ",              // 36
    "CuFt      ",             // 37
    "CuIn",                   // 38
    "bbl_liq      ",          // 39
    "ft        ",             // 40
    "M    ",                  // 41
    "in         ",            // 42
    "cm       ",              // 43
    "mm       ",              // 44
    "gram     ",              // 45
    "kg        ",             // 46
    "MetTon    ",             // 47
    "lb       ",              // 48
    "ounce     ",             // 49
    "g_s       ",             // 50
    "g_min     ",             // 51
    "g_hr     ",              // 52
    "kg_s     ",              // 53
    "kg_min   ",              // 54
    "metTOM_min ",            // 55
    "metton_hr  ",            // 56
    "lb_s       ",            // 57
    "lb_min     ",            // 58
    "lb_hr      ",            // 59
    "g_CuCM     ",            // 60
    "KG_CuMtr   ",            // 61
    "lb_gal    ",             // 62
    "lb_Cuft    ",            // 63
    "g_ml      ",             // 64
    "kb_l       ",            // 65
    "g_l        ",            // 66
    "centi_stokes ",          // 67
    "cpoise       ",          // 68
    "mewtom_meter  ",         // 69
    "deka_therm    ",         // 70
    "foot_pound_force ",      // 71
    "kilo_watt_hour    ",     // 72
    "mega_joule       ",      // 73
    "british_thermal_unit ",  // 74
    "%",                      // 75
    "other",                  // 76
};

// ComboBox32 and ComboBox33 differ from the others in one item each, by blanks only.
constexpr int kVariantRankineItem = 14;
constexpr std::string_view kVariantRankineText = "兰氏度    ";
constexpr int kVariantCelsiusItem = 12;
constexpr std::string_view kVariantCelsiusText = "°C ";

// HART unit code to list item; every other code shows as "other".
constexpr std::array<std::pair<std::uint8_t, int>, kUnitItemCount - 1> kUnitCodes = {{
    {1, 0},    {2, 1},    {3, 2},    {4, 3},    {5, 4},    {6, 5},    {7, 6},    {8, 7},
    {11, 8},   {12, 9},   {14, 10},  {237, 11}, {32, 12},  {33, 13},  {34, 14},  {35, 15},
    {15, 16},  {16, 17},  {17, 18},  {19, 19},  {24, 20},  {26, 21},  {28, 22},  {131, 23},
    {136, 24}, {138, 25}, {20, 26},  {21, 27},  {114, 28}, {115, 29}, {116, 30}, {120, 31},
    {40, 32},  {41, 33},  {43, 34},  {46, 35},  {111, 36}, {112, 37}, {113, 38}, {124, 39},
    {44, 40},  {45, 41},  {47, 42},  {48, 43},  {49, 44},  {60, 45},  {61, 46},  {62, 47},
    {63, 48},  {125, 49}, {70, 50},  {71, 51},  {72, 52},  {73, 53},  {74, 54},  {75, 55},
    {78, 56},  {80, 57},  {81, 58},  {82, 59},  {91, 60},  {92, 61},  {93, 62},  {94, 63},
    {95, 64},  {96, 65},  {97, 66},  {54, 67},  {55, 68},  {69, 69},  {89, 70},  {126, 71},
    {128, 72}, {164, 73}, {165, 74}, {57, 75},
}};

}  // namespace

int hartUnitItem(std::uint8_t unitCode) {
    const auto* found = std::find_if(kUnitCodes.begin(), kUnitCodes.end(),
                                     [unitCode](const auto& row) { return row.first == unitCode; });
    return found != kUnitCodes.end() ? found->second : kOtherUnitItem;
}

std::array<std::string_view, kUnitItemCount> hartUnitItems(int variant) {
    std::array<std::string_view, kUnitItemCount> items = kCommonItems;
    if (variant == 1) {
        items[kVariantRankineItem] = kVariantRankineText;
    } else if (variant == 2) {
        items[kVariantCelsiusItem] = kVariantCelsiusText;
    }
    return items;
}

}  // namespace kt730::hart
