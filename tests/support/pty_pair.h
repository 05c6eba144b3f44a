#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <string>

namespace kt730::testing {

// A pseudo-terminal for end-to-end tests: the window opens the device by its path, the test
// reads and writes the other end.
class PtyPair {
  public:
    PtyPair() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        const char* name = ptsname(master_);
        if (name == nullptr) return;
        path_ = name;
        // Raw line discipline, so bytes pass unchanged in both directions.
        const int slave = ::open(name, O_RDWR | O_NOCTTY);
        if (slave >= 0) {
            termios tio{};
            tcgetattr(slave, &tio);
            cfmakeraw(&tio);
            tcsetattr(slave, TCSANOW, &tio);
            ::close(slave);
        }
    }
    ~PtyPair() {
        if (master_ >= 0) ::close(master_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !path_.empty(); }
    const std::string& path() const { return path_; }

    // Reads what has arrived within `ms`, stopping early once `expected` bytes are in.
    std::string read(int ms, std::size_t expected) {
        std::string got;
        for (int waited = 0; waited < ms && got.size() < expected; waited += 10) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
                char buf[512];
                const ssize_t n = ::read(master_, buf, sizeof buf);
                if (n > 0) got.append(buf, static_cast<std::size_t>(n));
            }
        }
        return got;
    }
    void write(const std::string& bytes) {
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        (void)n;
    }

  private:
    int master_ = -1;
    std::string path_;
};

}  // namespace kt730::testing
