#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kt730 {

// Character rules of the module's command language.

// A list's item index as one character: index + '0', kept to its low 8 bits (-1, no selection,
// gives '/').
std::uint8_t indexDigit(int index);

// v div 100 + '0', (v div 10) mod 10 + '0', v mod 10 + '0', each kept to its low 8 bits, with
// division truncating toward zero and the remainder taking the sign of v. 7 gives "007",
// 1000 gives ":00", -5 gives "00+".
std::array<std::uint8_t, 3> threeDigits(std::int32_t v);

// The same rule over five places: v div 10000, (v div 1000) mod 10, ... v mod 10.
std::array<std::uint8_t, 5> fiveDigits(std::int32_t v);

// v in decimal with at least `width` digits, zero-padded on the left; a negative value keeps its
// minus sign in front of the padded digits (-123 with width 8 gives "-00000123").
std::string zeroPadded(std::int32_t v, int width);

}  // namespace kt730
