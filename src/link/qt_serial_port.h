#pragma once

#include <QObject>
#include <QSerialPort>

#include "link/block_cutter.h"
#include "link/qt_clock.h"
#include "link/serial_port.h"

namespace kt730 {

// The serial component: QSerialPort on the UI thread, non-blocking, with incoming bytes cut into
// blocks by quiet time.
class QtSerialPort : public QObject, public SerialPort {
  public:
    QtSerialPort();

    std::optional<std::string> open(const PortSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    void write(std::span<const std::uint8_t> bytes) override;
    void setDtr(bool on) override;
    void setRts(bool on) override;
    void setBlockHandler(BlockHandler handler) override;

  private:
    QtClock clock_;
    QSerialPort port_;
    BlockHandler handler_;
    BlockCutter cutter_;
};

}  // namespace kt730
