#include "link/engine.h"

#include <algorithm>
#include <utility>

#include "link/guard.h"
#include "link/hex_text.h"

namespace kt730 {

std::string_view shownText(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

Engine::Engine(Clock& clock, SerialPort& port, Messages& messages, EngineView view)
    : port_(port),
      messages_(messages),
      view_(std::move(view)),
      timer2_(clock, kParseDelay, [this] { expired(TimerId::Timer2); }),
      timer3_(clock, kFirstTimeout, [this] { expired(TimerId::Timer3); }),
      timer4_(clock, kAutoCloseDelay, [this] { expired(TimerId::Timer4); }),
      receiveWait_(clock.createTimer([this] { receiveWaitOver(); })) {
    port_.setBlockHandler([this](std::span<const std::uint8_t> block) { receiveBlock(block); });
}

std::span<std::uint8_t, Engine::kSendAreaSize> Engine::sendArea() {
    return std::span<std::uint8_t, kWorkBufferSize>(work_)
        .subspan<kSendAreaOffset, kSendAreaSize>();
}

std::span<const std::uint8_t, Engine::kReceiveAreaSize> Engine::receiveArea() const {
    return std::span<const std::uint8_t, kWorkBufferSize>(work_)
        .subspan<kReceiveAreaOffset, kReceiveAreaSize>();
}

void Engine::registerParse(std::int32_t code, std::function<void()> parse) {
    parses_[code] = std::move(parse);
}

void Engine::setAutoCloseHandler(std::function<void()> handler) { autoClose_ = std::move(handler); }

void Engine::clearBuffers() {
    view_.showSend("");
    view_.showReply("");
}

void Engine::clearReplyView() { view_.showReply(""); }

void Engine::showAndWrite(std::span<const std::uint8_t> command, ShowForm form) {
    if (form == ShowForm::Hex) {
        view_.showSend(hexPairs(command));
    } else {
        const std::string text(command.begin(), command.end());
        view_.showSend(shownText(text));
    }
    port_.write(command);
}

void Engine::expectReply(std::int32_t code, std::int32_t kind) {
    requestCode = code;
    timeoutKind = kind;
}

void Engine::armReplyTimeout() {
    timer3_.setInterval(kReplyTimeout);
    timer3_.setEnabled(true);
}

void Engine::sendCommand(std::size_t length, ShowForm form, std::int32_t code, std::int32_t kind) {
    length = std::min(length, kSendAreaSize);
    showAndWrite(sendArea().first(length), form);
    expectReply(code, kind);
    armReplyTimeout();
}

void Engine::sendText(std::string_view text, std::int32_t code, std::int32_t kind) {
    const std::size_t length = std::min(text.size(), kSendAreaSize);
    std::copy_n(text.begin(), length, sendArea().begin());
    sendCommand(length, ShowForm::Text, code, kind);
}

void Engine::sendHartFrame(std::size_t length, std::int32_t code) {
    length = std::min(length, kSendAreaSize);
    showAndWrite(sendArea().first(length), ShowForm::Hex);
    timer3_.setEnabled(true);
    expectReply(code, timeout::kSetOrHart);
}

void Engine::receiveBlock(std::span<const std::uint8_t> block) {
    queued_.emplace_back(block.begin(), block.end());
    if (!waiting_) startReceiveWait();
}

void Engine::startReceiveWait() {
    waiting_ = true;
    receiveWait_->start(kReceiveDelay);
}

void Engine::receiveWaitOver() {
    receiveWait_->stop();
    std::vector<std::uint8_t> block = std::move(queued_.front());
    queued_.pop_front();
    handleBlock(block);
    waiting_ = false;
    // Timer expiries held during the wait take effect now, if their timer still runs: a reply
    // whose wait spans the time-out has stopped Timer3 before it could fire.
    std::vector<TimerId> held;
    held.swap(heldExpiries_);
    for (TimerId id : held) {
        const ModuleTimer& t = id == TimerId::Timer2   ? timer2_
                               : id == TimerId::Timer3 ? timer3_
                                                       : timer4_;
        if (t.isEnabled()) runTimer(id);
    }
    if (!waiting_ && !queued_.empty()) startReceiveWait();
}

void Engine::handleBlock(std::span<const std::uint8_t> block) {
    // Only what fits the receive area is stored; the reply text keeps the first 255 bytes.
    const std::size_t stored = std::min(block.size(), kReceiveAreaSize);
    std::copy_n(block.begin(), stored, work_.begin() + kReceiveAreaOffset);
    const std::size_t textLength = std::min(block.size(), kReplyTextLimit);
    replyText_.assign(block.begin(), block.begin() + static_cast<long>(textLength));

    switch (requestCode) {
        case request::kConnection:
        case request::kSystemQuery:
        case request::kOutputQuery:
        case request::kOutputValues:
        case request::kDeviceQuery:
        case request::kMonitorQuery:
            timer2_.setEnabled(true);
            timer3_.setEnabled(false);
            view_.showReply(shownText(replyText_));
            break;
        case request::kHartIdentify:
        case request::kHartVariables:
            showReplyHex();
            timer3_.setEnabled(false);
            timer2_.setEnabled(true);
            break;
        case request::kHartManual:
        case request::kHartPollAddress:
        case request::kModbusTest:
            showReplyHex();
            timer3_.setEnabled(false);
            break;
        default:
            view_.showReply(shownText(replyText_));
            requestCode = request::kNone;
            timer3_.setEnabled(false);
            break;
    }
}

void Engine::showReplyHex() { view_.showReply(hexPairs(receiveArea().first(replyText_.size()))); }

void Engine::expired(TimerId id) {
    if (waiting_) {
        if (std::find(heldExpiries_.begin(), heldExpiries_.end(), id) == heldExpiries_.end()) {
            heldExpiries_.push_back(id);
        }
        return;
    }
    runTimer(id);
}

void Engine::runTimer(TimerId id) {
    switch (id) {
        case TimerId::Timer2:
            timer2Timer();
            break;
        case TimerId::Timer3:
            timer3Timer();
            break;
        case TimerId::Timer4:
            if (autoClose_) guarded(messages_, autoClose_);
            break;
    }
}

void Engine::timer2Timer() {
    timer2_.setEnabled(false);
    const auto parse = parses_.find(requestCode);
    if (parse != parses_.end()) guarded(messages_, parse->second);
}

void Engine::timer3Timer() {
    timer3_.setEnabled(false);
    switch (timeoutKind) {
        case timeout::kConnection:
            messages_.message(kConnectionTimeoutMessage);
            break;
        case timeout::kQuery:
            view_.showTimeoutCaption("");
            messages_.message(kQueryTimeoutMessage);
            break;
        case timeout::kSetOrHart:
            view_.showTimeoutCaption(kSetTimeoutCaption);
            messages_.message(kSetTimeoutMessage);
            break;
        default:
            break;
    }
}

}  // namespace kt730
