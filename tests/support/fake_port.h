#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "link/messages.h"
#include "link/serial_port.h"

namespace kt730::testing {

// A serial port that records what is written and lets the test hand blocks in.
class FakePort : public SerialPort {
  public:
    std::optional<std::string> open(const PortSettings& settings) override {
        ++openCalls;
        lastSettings = settings;
        if (openError) return openError;
        opened = true;
        return std::nullopt;
    }
    void close() override {
        ++closeCalls;
        opened = false;
    }
    bool isOpen() const override { return opened; }
    void write(std::span<const std::uint8_t> bytes) override {
        if (opened) writes.emplace_back(bytes.begin(), bytes.end());
    }
    void setDtr(bool on) override { dtr = on; }
    void setRts(bool on) override { rts = on; }
    void setBlockHandler(BlockHandler handler) override { handler_ = std::move(handler); }

    void deliver(std::string_view bytes) {
        handler_(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
    void deliver(std::span<const std::uint8_t> bytes) { handler_(bytes); }

    std::string lastWriteText() const {
        return writes.empty() ? std::string()
                              : std::string(writes.back().begin(), writes.back().end());
    }

    bool opened = false;
    int openCalls = 0;
    int closeCalls = 0;
    std::optional<std::string> openError;
    PortSettings lastSettings;
    std::optional<bool> dtr;
    std::optional<bool> rts;
    std::vector<std::vector<std::uint8_t>> writes;

  private:
    BlockHandler handler_;
};

// Records the modal messages and error boxes instead of showing them.
class RecordingMessages : public Messages {
  public:
    void message(std::string_view text) override { shown.emplace_back(text); }
    void error(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

}  // namespace kt730::testing
