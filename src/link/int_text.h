#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kt730 {

// The module's integer text rule: leading blanks skipped; an optional "-" or "+"; then decimal
// digits, or hexadecimal digits (either case) after "$", "x", "X", "0x" or "0X"; the value must
// fit a signed 32-bit integer. Anything else (empty text, trailing blank, letter, "1e3") throws
// UserError("'<text>' is not a valid integer value"). `text` is UTF-8.
std::int32_t textToInt(std::string_view text);

// The message textToInt throws for `text`.
std::string notAnIntegerMessage(std::string_view text);

}  // namespace kt730
