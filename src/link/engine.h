#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/clock.h"
#include "link/messages.h"
#include "link/module_timer.h"
#include "link/serial_port.h"

namespace kt730 {

// What is pending: the reply the tool waits for. Each tab registers the parse of its own codes.
namespace request {
inline constexpr std::int32_t kNone = 0;
inline constexpr std::int32_t kHartIdentify = 100;
inline constexpr std::int32_t kHartVariables = 103;
inline constexpr std::int32_t kHartManual = 104;
inline constexpr std::int32_t kHartPollAddress = 106;
inline constexpr std::int32_t kSet = 200;
inline constexpr std::int32_t kConnection = 201;
inline constexpr std::int32_t kSystemQuery = 202;
inline constexpr std::int32_t kOutputQuery = 203;
inline constexpr std::int32_t kOutputValues = 204;
inline constexpr std::int32_t kDeviceQuery = 301;
inline constexpr std::int32_t kModbusTest = 302;
inline constexpr std::int32_t kMonitorQuery = 501;
}  // namespace request

// Which time-out message applies.
namespace timeout {
inline constexpr std::int32_t kNone = 0;
inline constexpr std::int32_t kConnection = 1;
inline constexpr std::int32_t kQuery = 2;
inline constexpr std::int32_t kSetOrHart = 3;
}  // namespace timeout

inline constexpr std::string_view kConnectionTimeoutMessage = "Connection Timeout!";
inline constexpr std::string_view kQueryTimeoutMessage = "Parameter Query Timeout!";
inline constexpr std::string_view kSetTimeoutCaption = "Set Timeout";
inline constexpr std::string_view kSetTimeoutMessage = "!";

// How Edit8 and Memo10 show bytes: one character per byte, or hexadecimal pairs.
enum class ShowForm { Text, Hex };

// The window's side of the engine: the send and receive buffer fields and the caption of Label68.
struct EngineView {
    std::function<void(std::string_view)> showSend;            // Edit8
    std::function<void(std::string_view)> showReply;           // Memo10
    std::function<void(std::string_view)> showTimeoutCaption;  // Label68
};

// The transaction engine: one request, at most one reply. It owns the work buffer and the globals
// that say what is awaited, the send step, the receive step with its 300 ms deferral, the deferred
// parse dispatch (Timer2), the reply time-out (Timer3) and the automatic-close timer (Timer4).
// It knows nothing of what a command means.
class Engine {
  public:
    static constexpr std::size_t kWorkBufferSize = 916;
    static constexpr std::size_t kSendAreaOffset = 8;
    static constexpr std::size_t kSendAreaSize = 504;
    static constexpr std::size_t kReceiveAreaOffset = 512;
    static constexpr std::size_t kReceiveAreaSize = 404;
    static constexpr std::size_t kReplyTextLimit = 255;

    static constexpr Millis kReceiveDelay{300};     // wait at the head of the receive step
    static constexpr Millis kParseDelay{300};       // Timer2
    static constexpr Millis kFirstTimeout{1000};    // Timer3 until a sender sets it
    static constexpr Millis kReplyTimeout{3000};    // Timer3 as the send step sets it
    static constexpr Millis kAutoCloseDelay{2000};  // Timer4 after an RS485 baud command

    Engine(Clock& clock, SerialPort& port, Messages& messages, EngineView view);

    // The shared buffer: bytes 0..7 keep HART values, then the send area, then the receive area.
    std::array<std::uint8_t, kWorkBufferSize>& workBuffer() { return work_; }
    std::span<std::uint8_t, kSendAreaSize> sendArea();
    std::span<const std::uint8_t, kReceiveAreaSize> receiveArea() const;
    // The first 255 bytes of the last block, one character per byte, zero bytes included.
    const std::string& replyText() const { return replyText_; }

    std::int32_t replyLength = 0;
    std::int32_t requestCode = request::kNone;
    std::int32_t timeoutKind = timeout::kNone;
    std::uint8_t portOpen = 0;

    ModuleTimer& timer2() { return timer2_; }
    ModuleTimer& timer3() { return timer3_; }
    ModuleTimer& timer4() { return timer4_; }
    Messages& messages() { return messages_; }
    SerialPort& port() { return port_; }

    // A parse for a request code, run by Timer2Timer while that code is pending.
    void registerParse(std::int32_t code, std::function<void()> parse);
    // What Timer4Timer does (the automatic close of the port).
    void setAutoCloseHandler(std::function<void()> handler);

    // The send step, in pieces for the handlers that deviate from it.
    void clearBuffers();  // empty Edit8, Memo10
    void showAndWrite(std::span<const std::uint8_t> command, ShowForm form);
    void expectReply(std::int32_t code, std::int32_t kind);
    void armReplyTimeout();  // Timer3 to 3000 ms, enabled
    void clearReplyView();   // empty Memo10 only

    // The standard send step for the first `length` bytes of the send area.
    void sendCommand(std::size_t length, ShowForm form, std::int32_t code, std::int32_t kind);
    // The same for a ready command text, which is first put into the send area.
    void sendText(std::string_view text, std::int32_t code, std::int32_t kind);
    // The send step of a HART frame: hexadecimal form, Timer3 enabled without setting its interval,
    // TimeoutKind 3.
    void sendHartFrame(std::size_t length, std::int32_t code);

    // A block from the serial port. Blocks are handled in arrival order, each 300 ms after it came
    // or after the previous block was handled, whichever is later.
    void receiveBlock(std::span<const std::uint8_t> block);

    // The engine's timer handlers, public so the window's own timers can be driven in tests.
    void timer2Timer();
    void timer3Timer();

  private:
    enum class TimerId { Timer2, Timer3, Timer4 };
    void expired(TimerId id);
    void runTimer(TimerId id);
    void startReceiveWait();
    void receiveWaitOver();
    void handleBlock(std::span<const std::uint8_t> block);
    void showReplyHex();

    SerialPort& port_;
    Messages& messages_;
    EngineView view_;
    std::array<std::uint8_t, kWorkBufferSize> work_{};
    std::string replyText_;
    std::map<std::int32_t, std::function<void()>> parses_;
    std::function<void()> autoClose_;

    ModuleTimer timer2_;
    ModuleTimer timer3_;
    ModuleTimer timer4_;

    // The receive deferral: queued blocks, and timer expiries that fell inside a wait and take
    // effect once the block has been handled.
    std::unique_ptr<ClockTimer> receiveWait_;
    std::deque<std::vector<std::uint8_t>> queued_;
    bool waiting_ = false;
    std::vector<TimerId> heldExpiries_;
};

// The text a single-line or memo field shows for raw bytes: one character per byte, ending at the
// first zero byte as the edit control takes it.
std::string_view shownText(std::string_view bytes);

}  // namespace kt730
