#include "link/qt_clock.h"

#include <QTimer>
#include <utility>

namespace kt730 {
namespace {

class QtCountdown : public ClockTimer {
  public:
    explicit QtCountdown(std::function<void()> onFire) : onFire_(std::move(onFire)) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { onFire_(); });
    }
    void start(Millis interval) override { timer_.start(interval); }
    void stop() override { timer_.stop(); }

  private:
    std::function<void()> onFire_;
    QTimer timer_;
};

}  // namespace

std::unique_ptr<ClockTimer> QtClock::createTimer(std::function<void()> onFire) {
    return std::make_unique<QtCountdown>(std::move(onFire));
}

}  // namespace kt730
