#include "test_support.hpp"

namespace kt730sim::test {

Bytes textThenBytes(std::string_view text, std::initializer_list<std::uint8_t> raw) {
    Bytes b(text.begin(), text.end());
    b.insert(b.end(), raw.begin(), raw.end());
    return b;
}

Bytes withPreamble(int n, std::initializer_list<std::uint8_t> body) {
    Bytes b(static_cast<std::size_t>(n), 0xFF);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

std::optional<std::size_t> findMarker(std::string_view reply, std::string_view marker) {
    if (marker.size() > reply.size()) return std::nullopt;
    for (std::size_t m = 0; m + marker.size() <= reply.size(); ++m) {
        bool match = true;
        for (std::size_t i = 0; i < marker.size() && match; ++i) {
            match = marker[i] == '?' || marker[i] == reply[m + i];
        }
        if (match) return m;
    }
    return std::nullopt;
}

std::optional<std::string> fieldAt(std::string_view reply, std::string_view marker,
                                   std::size_t offset, std::size_t length) {
    const auto m = findMarker(reply, marker);
    if (!m || *m + offset + length > reply.size()) return std::nullopt;
    return std::string(reply.substr(*m + offset, length));
}

}  // namespace kt730sim::test
