#pragma once

#include <QLabel>
#include <QMouseEvent>

// A label that reports a mouse double-click (the captionless label right of the title).
class Kt730DoubleClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void doubleClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QLabel::mouseDoubleClickEvent(event);
        emit doubleClicked();
    }
};
