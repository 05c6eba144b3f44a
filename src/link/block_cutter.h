#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "link/clock.h"

namespace kt730 {

// Cuts the incoming byte stream into blocks as the serial component delivers them: a block ends
// when the line has been quiet for kQuietTime or when it holds kMaxBlock bytes.
class BlockCutter {
  public:
    static constexpr Millis kQuietTime{100};
    static constexpr std::size_t kMaxBlock = 2048;

    using Emit = std::function<void(std::span<const std::uint8_t>)>;
    BlockCutter(Clock& clock, Emit emit);

    void feed(std::span<const std::uint8_t> bytes);
    // Drops a partial block (the port was closed).
    void reset();

  private:
    void flush();

    Emit emit_;
    std::vector<std::uint8_t> pending_;
    std::unique_ptr<ClockTimer> quiet_;
};

}  // namespace kt730
