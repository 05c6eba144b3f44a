#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace kt730 {

enum class Parity { None, Odd, Even };

struct PortSettings {
    std::string name;  // as the engineer typed it: "COM3", "ttyUSB0" or a full path "/dev/pts/3"
    std::int32_t baudRate = 9600;
    Parity parity = Parity::None;
};

// The PC serial port as the engine sees it: 8 data bits, 1 stop bit, no flow control.
class SerialPort {
  public:
    using BlockHandler = std::function<void(std::span<const std::uint8_t>)>;

    virtual ~SerialPort() = default;
    // Opens the port; gives the error text to show when it cannot be opened.
    virtual std::optional<std::string> open(const PortSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Hands the bytes to the port and returns at once; does nothing while the port is closed.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
    // Line control. A port without such lines (a virtual port) ignores them.
    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
    // Each received block reaches `handler` once, on the UI thread.
    virtual void setBlockHandler(BlockHandler handler) = 0;
};

}  // namespace kt730
