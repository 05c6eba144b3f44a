#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kt730::hart {

inline constexpr int kUnitItemCount = 77;
inline constexpr int kOtherUnitItem = 76;

// The item index of the unit lists for a HART unit code; codes not in the table give "other".
int hartUnitItem(std::uint8_t unitCode);

// The unit list items, in order, UTF-8, trailing blanks included. `variant` 0 is the common list
// (ComboBox3, ComboBox31); 1 differs in item 14 (ComboBox32), 2 in item 12 (ComboBox33).
std::array<std::string_view, kUnitItemCount> hartUnitItems(int variant);

}  // namespace kt730::hart
