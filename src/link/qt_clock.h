#pragma once

#include "link/clock.h"

namespace kt730 {

// Real time: each countdown is a precise QTimer on the UI thread.
class QtClock : public Clock {
  public:
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onFire) override;
};

}  // namespace kt730
