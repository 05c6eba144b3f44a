#include "link/module_timer.h"

#include <utility>

namespace kt730 {

ModuleTimer::ModuleTimer(Clock& clock, Millis interval, std::function<void()> onTimer)
    : countdown_(clock.createTimer(std::move(onTimer))), interval_(interval) {}

void ModuleTimer::setInterval(Millis interval) {
    if (interval == interval_) return;
    interval_ = interval;
    if (enabled_) countdown_->start(interval_);
}

void ModuleTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) {
        countdown_->start(interval_);
    } else {
        countdown_->stop();
    }
}

}  // namespace kt730
