#pragma once

#include <cstdint>
#include <vector>

#include "link/clock.h"

namespace kt730 {

// A clock that moves only when told to: tests run minutes of timer behaviour in microseconds.
// Expiries run in time order; at equal times, in the order their countdowns were (re)started.
class ManualClock : public Clock {
  public:
    ManualClock();
    ~ManualClock() override;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onFire) override;

    Millis now() const { return now_; }
    // Moves time forward by `by`, running every expiry that falls within it.
    void advance(Millis by);

    class Countdown;

  private:
    friend class Countdown;
    Millis now_{0};
    std::uint64_t nextOrder_ = 0;
    std::vector<Countdown*> countdowns_;
};

}  // namespace kt730
