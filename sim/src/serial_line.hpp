// The module's end of the serial line: a pseudo-terminal that the tool opens
// by its slave path, or an existing serial device.
#pragma once

#include <chrono>
#include <string>

#include "bytes.hpp"

namespace kt730sim {

class SerialLine {
  public:
    // A new pseudo-terminal in raw mode. The slave side stays open here too,
    // so the line survives a peer that opens and closes it again and again.
    static SerialLine openPseudoTerminal();
    // An existing serial device, raw, 8 data bits, 1 stop bit, no flow control.
    static SerialLine openDevice(const std::string& path, int baud);

    SerialLine(SerialLine&& other) noexcept;
    SerialLine& operator=(SerialLine&&) = delete;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    ~SerialLine();

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    bool isPseudoTerminal() const { return slaveFd_ >= 0; }

    // Drops bytes that an earlier reply left unread on the peer's side, so a
    // peer that opens the line later does not see stale replies.
    void discardUnreadReplies();

    // Writes all of `bytes`; gives up when the line stays blocked for `limit`.
    bool writeAll(ByteView bytes, std::chrono::milliseconds limit);

    // New line settings (device only; a pseudo-terminal has no baud rate).
    // parity: 0 none, 1 odd, 2 even. False for an unsupported baud rate.
    bool setLineSettings(int baud, int parity);

  private:
    SerialLine(int fd, int slaveFd, std::string path)
        : fd_(fd), slaveFd_(slaveFd), path_(std::move(path)) {}
    int fd_ = -1;
    int slaveFd_ = -1;
    std::string path_;
};

}  // namespace kt730sim
