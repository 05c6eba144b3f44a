#include "link/manual_clock.h"

#include <algorithm>
#include <utility>

namespace kt730 {

class ManualClock::Countdown : public ClockTimer {
  public:
    Countdown(ManualClock& clock, std::function<void()> onFire)
        : clock_(clock), onFire_(std::move(onFire)) {
        clock_.countdowns_.push_back(this);
    }
    ~Countdown() override { std::erase(clock_.countdowns_, this); }

    void start(Millis interval) override {
        running_ = true;
        interval_ = interval;
        due_ = clock_.now_ + interval;
        order_ = clock_.nextOrder_++;
    }
    void stop() override { running_ = false; }

    ManualClock& clock_;
    std::function<void()> onFire_;
    bool running_ = false;
    Millis interval_{0};
    Millis due_{0};
    std::uint64_t order_ = 0;
};

ManualClock::ManualClock() = default;

ManualClock::~ManualClock() = default;

std::unique_ptr<ClockTimer> ManualClock::createTimer(std::function<void()> onFire) {
    return std::make_unique<Countdown>(*this, std::move(onFire));
}

void ManualClock::advance(Millis by) {
    const Millis target = now_ + by;
    for (;;) {
        Countdown* next = nullptr;
        for (Countdown* c : countdowns_) {
            if (!c->running_ || c->due_ > target) continue;
            if (next == nullptr || c->due_ < next->due_ ||
                (c->due_ == next->due_ && c->order_ < next->order_)) {
                next = c;
            }
        }
        if (next == nullptr) break;
        now_ = next->due_;
        // Periodic, like a window timer: the next expiry is one interval on. A zero interval
        // fires once per advance step so a test cannot spin forever.
        next->due_ = now_ + std::max(next->interval_, Millis{1});
        next->order_ = nextOrder_++;
        next->onFire_();
    }
    now_ = target;
}

}  // namespace kt730
