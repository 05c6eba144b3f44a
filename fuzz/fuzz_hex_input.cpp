// Typed hexadecimal pairs: any text, any limit, never a read outside the text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "hart/hex_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t limit = data[0] % 20;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto result = kt730::hart::parseHexBytes(text, limit);
    if (result.message.empty() && (result.bytes.empty() || result.bytes.size() > limit)) {
        __builtin_trap();  // success gives 1..limit bytes
    }
    return 0;
}
