#include "system/reply_fields.h"

#include <string>

#include "link/int_text.h"
#include "link/user_error.h"

namespace kt730 {

std::optional<std::size_t> findMarker(std::string_view text, std::string_view marker) {
    const std::size_t pos = text.find(marker);
    if (pos == std::string_view::npos) return std::nullopt;
    return pos;
}

std::optional<int> replyDigit(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return std::nullopt;
    const char c = text[pos];
    if (c < '0' || c > '9') throw UserError(notAnIntegerMessage(std::string(1, c)));
    return c - '0';
}

std::string_view replyChars(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos >= text.size()) return {};
    return text.substr(pos, count);
}

}  // namespace kt730
