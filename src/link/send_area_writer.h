#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kt730 {

// Fills the send area from its first byte. Nothing is written past the area's end.
class SendAreaWriter {
  public:
    explicit SendAreaWriter(std::span<std::uint8_t> area) : area_(area) {}

    void put(std::uint8_t byte) {
        if (length_ < area_.size()) area_[length_++] = byte;
    }
    void put(std::string_view text) {
        for (const char c : text) put(static_cast<std::uint8_t>(c));
    }
    template <std::size_t N>
    void put(const std::array<std::uint8_t, N>& bytes) {
        for (const std::uint8_t b : bytes) put(b);
    }
    std::size_t length() const { return length_; }

  private:
    std::span<std::uint8_t> area_;
    std::size_t length_ = 0;
};

}  // namespace kt730
