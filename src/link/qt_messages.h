#pragma once

#include <QPointer>
#include <QWidget>

#include "link/messages.h"

namespace kt730 {

// Modal message boxes that do not block the caller: the timers and the receive step keep running
// while one is open.
class QtMessages : public Messages {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(std::string_view text) override;
    void error(std::string_view text) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace kt730
