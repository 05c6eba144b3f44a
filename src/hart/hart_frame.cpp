#include "hart/hart_frame.h"

#include <algorithm>
#include <string>

#include "link/user_error.h"

namespace kt730::hart {

std::uint8_t checkByte(std::span<const std::uint8_t> body) {
    std::uint8_t parity = 0;
    for (const std::uint8_t b : body) {
        parity ^= b;
    }
    return parity;
}

std::size_t buildHartFrame(std::span<const std::uint8_t> body, int preambles,
                           std::span<std::uint8_t> out) {
    // The body and its check byte must fit even with no preamble at all.
    if (body.size() + 1 > out.size()) {
        throw UserError("The HART frame of " + std::to_string(body.size()) +
                        " bytes does not fit the send area of " + std::to_string(out.size()) +
                        " bytes");
    }
    const std::size_t maxPreambles = out.size() - body.size() - 1;
    if (preambles < 0 || static_cast<std::size_t>(preambles) > maxPreambles) {
        // The engineer types the count minus one, so the range is quoted in those terms.
        throw UserError("Preamble Length must be from -1 to " + std::to_string(maxPreambles - 1));
    }

    const auto count = static_cast<std::size_t>(preambles);
    std::fill_n(out.begin(), count, kPreambleByte);
    std::copy(body.begin(), body.end(), out.begin() + static_cast<std::ptrdiff_t>(count));
    out[count + body.size()] = checkByte(body);
    return count + body.size() + 1;
}

}  // namespace kt730::hart
