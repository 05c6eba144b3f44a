#include "link/qt_serial_port.h"

#include <utility>

namespace kt730 {

inline constexpr const char* kOpenErrorHeading = "Error opening serial port";

QtSerialPort::QtSerialPort()
    : cutter_(clock_, [this](std::span<const std::uint8_t> block) {
          if (handler_) handler_(block);
      }) {
    setObjectName(QStringLiteral("Comm1"));
    // A device that goes away (an adapter pulled out) is closed underneath so the line is not
    // polled in vain; the window keeps its open state and later commands end in time-outs.
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError && port_.isOpen()) {
            port_.close();
            cutter_.reset();
        }
    });
    connect(&port_, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = port_.readAll();
        cutter_.feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
    });
}

std::optional<std::string> QtSerialPort::open(const PortSettings& settings) {
    close();
    const QString name = QString::fromStdString(settings.name);
    auto failure = [&](const QString& why) {
        return (QString(kOpenErrorHeading) + "\n\n" + name + ": " + why).toStdString();
    };
    if (name.trimmed().isEmpty()) return failure("no port name given");
    if (settings.baudRate <= 0)
        return failure(QString("invalid baud rate %1").arg(settings.baudRate));
    // A name with a path opens that device; a bare name ("ttyUSB0", "COM3") is looked up in /dev.
    port_.setPortName(name);
    if (!port_.open(QIODevice::ReadWrite)) {
        const QString why = port_.errorString();
        port_.close();
        return failure(why);
    }
    const QSerialPort::Parity parity = settings.parity == Parity::Odd    ? QSerialPort::OddParity
                                       : settings.parity == Parity::Even ? QSerialPort::EvenParity
                                                                         : QSerialPort::NoParity;
    const bool configured = port_.setBaudRate(settings.baudRate) &&
                            port_.setDataBits(QSerialPort::Data8) && port_.setParity(parity) &&
                            port_.setStopBits(QSerialPort::OneStop) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        const QString why = port_.errorString();
        port_.close();
        return failure(why);
    }
    port_.clearError();
    return std::nullopt;
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
    cutter_.reset();
}

bool QtSerialPort::isOpen() const { return port_.isOpen(); }

void QtSerialPort::write(std::span<const std::uint8_t> bytes) {
    if (!port_.isOpen() || bytes.empty()) return;
    port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

// Virtual ports (pseudo-terminals) have no modem lines; failing to set them is not an error.
void QtSerialPort::setDtr(bool on) {
    if (port_.isOpen() && !port_.setDataTerminalReady(on)) port_.clearError();
}

void QtSerialPort::setRts(bool on) {
    if (port_.isOpen() && !port_.setRequestToSend(on)) port_.clearError();
}

void QtSerialPort::setBlockHandler(BlockHandler handler) { handler_ = std::move(handler); }

}  // namespace kt730
