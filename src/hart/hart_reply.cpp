#include "hart/hart_reply.h"

#include <algorithm>

#include "link/number_text.h"

namespace kt730::hart {

namespace {

constexpr std::size_t kMinReplyLength = 5;
constexpr int kCountBase = 11;  // response code, status and loop current with the first group
constexpr int kMaxFurtherVariables = 3;
constexpr std::uint8_t kHartNotANumberLead = 0x7F;
constexpr std::size_t kShownChars = 9;

}  // namespace

std::optional<std::size_t> findHartReply(std::span<const std::uint8_t> receiveArea,
                                         std::size_t replyLength, std::uint8_t delimiter) {
    if (replyLength < kMinReplyLength) {
        return std::nullopt;
    }
    // The preamble byte and the delimiter after it must both lie inside the receive area.
    for (std::size_t m = 0; m <= replyLength - kMinReplyLength && m + 1 < receiveArea.size(); ++m) {
        if (receiveArea[m] == 0xFF && receiveArea[m + 1] == delimiter) {
            return m;
        }
    }
    return std::nullopt;
}

int hartVariableCount(std::uint8_t byteCount) {
    int count = 1;
    for (int pass = 0; pass < kMaxFurtherVariables; ++pass) {
        if (static_cast<int>(kDvGroupSize) * pass < byteCount - kCountBase) {
            ++count;
        }
    }
    return count;
}

std::string showHartVariable(std::span<const std::uint8_t, 4> value) {
    // Any pattern led by 7F (the HART "not a number" 7F A0 00 00, +INF, ...) is shown as zeros
    // without being converted.
    if (value[0] == kHartNotANumberLead) {
        return "00000000";
    }
    std::string text = singleToText(value[0], value[1], value[2], value[3]);
    text.resize(std::min(text.size(), kShownChars));
    return text;
}

}  // namespace kt730::hart
