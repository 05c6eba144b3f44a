#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace kt730 {

using Millis = std::chrono::milliseconds;

// One countdown of a clock. start() (re)starts a periodic countdown of `interval` from now; the
// fire callback runs at each expiry until stop().
class ClockTimer {
  public:
    virtual ~ClockTimer() = default;
    virtual void start(Millis interval) = 0;
    virtual void stop() = 0;
};

// Where time comes from: Qt's timers in the program, a manual clock in the tests.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::unique_ptr<ClockTimer> createTimer(std::function<void()> onFire) = 0;
};

}  // namespace kt730
