// Number text of any four bytes: a bounded text or the floating-point error, nothing else.
#include <cstddef>
#include <cstdint>
#include <span>

#include "hart/hart_reply.h"
#include "link/number_text.h"
#include "link/user_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    try {
        const std::string text = kt730::singleToText(data[0], data[1], data[2], data[3]);
        if (text.empty() || text.size() > 24) __builtin_trap();
        const std::span<const std::uint8_t, 4> value(data, 4);
        if (kt730::hart::showHartVariable(value).size() > 9) __builtin_trap();
    } catch (const kt730::UserError&) {
    }
    return 0;
}
