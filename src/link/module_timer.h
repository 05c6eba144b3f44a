#pragma once

#include <functional>
#include <memory>

#include "link/clock.h"

namespace kt730 {

// An interval timer with the window's timer rule: enabling an enabled timer or giving it the
// interval it already has leaves its countdown alone; a different interval restarts it; disabling
// stops it. While enabled it fires every interval.
class ModuleTimer {
  public:
    ModuleTimer(Clock& clock, Millis interval, std::function<void()> onTimer);

    void setInterval(Millis interval);
    void setEnabled(bool enabled);
    Millis interval() const { return interval_; }
    bool isEnabled() const { return enabled_; }

  private:
    std::unique_ptr<ClockTimer> countdown_;
    Millis interval_;
    bool enabled_ = false;
};

}  // namespace kt730
