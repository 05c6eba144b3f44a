// kt730-sim: plays the KT730-T-B-2 converter module and the HART instrument
// behind it on a pseudo-terminal (or a serial device).
//
// A request is one block of bytes: it is complete once the line has been
// quiet for the framing gap (20 ms unless --gap says otherwise).

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "module.hpp"
#include "serial_line.hpp"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using kt730sim::Bytes;
using kt730sim::ByteView;

constexpr const char* kVersion = "kt730-sim 1.0.0";
constexpr std::size_t kMaxRequest = 4096;  // a block this long is handled at once
constexpr auto kIdlePoll = 200ms;          // poll period while nothing is pending
constexpr auto kHangupPause = 50ms;        // back-off on a line without peer
constexpr auto kWriteLimit = 1000ms;       // a reply that cannot go out in this time is dropped
constexpr auto kNoisePause = 150ms;        // garbage and reply arrive as separate blocks
constexpr unsigned kNoiseOneIn = 4;        // about one reply in four is preceded by garbage

std::atomic<bool> stopRequested{false};

void onSignal(int) { stopRequested = true; }

struct Options {
    std::optional<std::string> link;
    std::optional<std::string> device;
    int baud = 9600;
    bool silent = false;
    int splitMs = -1;
    int delayMs = 0;
    bool noise = false;
    int gapMs = 20;
    bool frozen = false;
    std::optional<unsigned> seed;
    bool quiet = false;
};

void printUsage(std::FILE* out) {
    std::fputs(
        "Usage: kt730-sim [options]\n"
        "Simulates the KT730-T-B-2 converter module and its HART instrument.\n"
        "Prints the serial device to open as the first line of standard output,\n"
        "logs every exchange to standard error, and runs until SIGINT or SIGTERM.\n"
        "\n"
        "  --link PATH     keep a symbolic link PATH to the pseudo-terminal\n"
        "  --device PATH   use an existing serial device instead of a pseudo-terminal\n"
        "  --baud N        baud rate of --device (default 9600)\n"
        "  --gap MS        quiet time that ends a request (default 20)\n"
        "  --silent        never answer\n"
        "  --delay MS      wait MS before each answer\n"
        "  --split MS      send each answer in two blocks, MS apart\n"
        "  --noise         now and then send a block of garbage before an answer\n"
        "  --seed N        seed of the --noise generator\n"
        "  --frozen        instrument values stand still at their centre values\n"
        "  --quiet         log nothing\n"
        "  --help          show this text\n"
        "  --version       show the version\n",
        out);
}

std::optional<int> parseInt(const char* text, int low, int high) {
    int value = 0;
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec != std::errc{} || ptr != end || value < low || value > high) return std::nullopt;
    return value;
}

// Returns the exit code when the program should end right away.
std::optional<int> parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
            return argv[++i];
        };
        auto number = [&](int low, int high) {
            const char* text = value();
            const auto v = parseInt(text, low, high);
            if (!v) throw std::invalid_argument("bad value for " + arg + ": " + text);
            return *v;
        };
        if (arg == "--help" || arg == "-h") {
            printUsage(stdout);
            return 0;
        } else if (arg == "--version") {
            std::puts(kVersion);
            return 0;
        } else if (arg == "--link") {
            o.link = value();
        } else if (arg == "--device") {
            o.device = value();
        } else if (arg == "--baud") {
            o.baud = number(50, 4000000);
        } else if (arg == "--gap") {
            o.gapMs = number(1, 10000);
        } else if (arg == "--silent") {
            o.silent = true;
        } else if (arg == "--delay") {
            o.delayMs = number(0, 600000);
        } else if (arg == "--split") {
            o.splitMs = number(0, 600000);
        } else if (arg == "--noise") {
            o.noise = true;
        } else if (arg == "--seed") {
            o.seed = static_cast<unsigned>(number(0, 2147483647));
        } else if (arg == "--frozen") {
            o.frozen = true;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else {
            throw std::invalid_argument("unknown option " + arg);
        }
    }
    if (o.link && o.device) throw std::invalid_argument("--link and --device exclude each other");
    return std::nullopt;
}

class Log {
  public:
    explicit Log(bool quiet) : quiet_(quiet) {}

    void line(const std::string& text) const {
        if (quiet_) return;
        std::fprintf(stderr, "%s %s\n", stamp().c_str(), text.c_str());
        std::fflush(stderr);
    }

    void bytes(const char* direction, ByteView data, const std::string& note = {}) const {
        if (quiet_) return;
        std::string hex;
        std::string text;
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (std::uint8_t b : data) {
            if (!hex.empty()) hex += ' ';
            hex += kHex[b >> 4];
            hex += kHex[b & 0x0F];
            text += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
        }
        line(std::string(direction) + " " + std::to_string(data.size()) + " bytes" +
             (note.empty() ? "" : " " + note) + "\n    hex:  " + hex + "\n    text: " + text);
    }

  private:
    static std::string stamp() {
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        tm local{};
        localtime_r(&ts.tv_sec, &local);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min,
                      local.tm_sec, ts.tv_nsec / 1000000L);
        return buf;
    }
    bool quiet_;
};

// Sleeps, but wakes early when the program is asked to stop.
void pause(std::chrono::milliseconds total) {
    const auto until = Clock::now() + total;
    while (!stopRequested && Clock::now() < until) {
        std::this_thread::sleep_for(std::min<Clock::duration>(10ms, until - Clock::now()));
    }
}

class Simulator {
  public:
    Simulator(const Options& o, kt730sim::SerialLine& line)
        : options_(o),
          line_(line),
          log_(o.quiet),
          started_(Clock::now()),
          random_(o.seed ? *o.seed : std::random_device{}()) {
        lastBaud_ = module_.state().rs485a.baudCode;
        lastParity_ = module_.state().rs485a.parityCode;
    }

    int run() {
        Bytes pending;
        Clock::time_point lastByte{};
        while (!stopRequested) {
            auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(kIdlePoll);
            if (!pending.empty()) {
                const auto left =
                    std::chrono::milliseconds(options_.gapMs) - (Clock::now() - lastByte);
                wait = std::max(0ms, std::chrono::ceil<std::chrono::milliseconds>(left));
            }
            pollfd p{line_.fd(), POLLIN, 0};
            const int ready = poll(&p, 1, static_cast<int>(wait.count()));
            if (ready < 0 && errno != EINTR) {
                log_.line(std::string("poll failed: ") + std::strerror(errno));
                return 1;
            }
            if (ready > 0 && (p.revents & POLLIN) != 0) {
                std::uint8_t buf[512];
                const ssize_t n = read(line_.fd(), buf, sizeof buf);
                if (n > 0) {
                    pending.insert(pending.end(), buf, buf + n);
                    lastByte = Clock::now();
                } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                    pause(kHangupPause);  // no peer on the line (EIO): wait for one
                }
            } else if (ready > 0 && (p.revents & (POLLHUP | POLLERR)) != 0) {
                pause(kHangupPause);
            }
            const bool quiet = Clock::now() - lastByte >= std::chrono::milliseconds(options_.gapMs);
            if (!pending.empty() && (quiet || pending.size() >= kMaxRequest)) {
                exchange(pending);
                pending.clear();
            }
        }
        log_.line("stopping");
        return 0;
    }

  private:
    void exchange(const Bytes& request) {
        const double seconds =
            options_.frozen ? 0.0 : std::chrono::duration<double>(Clock::now() - started_).count();
        const kt730sim::Exchange ex = module_.handle(request, seconds);
        log_.bytes("RX", request, std::string("(") + kt730sim::requestKindName(ex.kind) + ")");
        if (!ex.reply) {
            log_.line("   no answer");
            return;
        }
        if (options_.silent) {
            log_.line("   answer withheld (--silent)");
            return;
        }
        if (options_.delayMs > 0) pause(std::chrono::milliseconds(options_.delayMs));
        line_.discardUnreadReplies();
        if (options_.noise && random_() % kNoiseOneIn == 0) sendNoise();
        const Bytes& reply = *ex.reply;
        if (options_.splitMs >= 0 && reply.size() >= 2) {
            const std::size_t half = reply.size() / 2;
            send(ByteView(reply).first(half), "(first part)");
            pause(std::chrono::milliseconds(options_.splitMs));
            send(ByteView(reply).subspan(half), "(second part)");
        } else {
            send(reply, "");
        }
        followLineSettings();
    }

    void send(ByteView bytes, const std::string& note) {
        if (stopRequested) return;
        if (!line_.writeAll(bytes, kWriteLimit)) {
            log_.line("   write failed or blocked; answer dropped");
            return;
        }
        log_.bytes("TX", bytes, note);
    }

    void sendNoise() {
        std::uniform_int_distribution<int> length(3, 12);
        std::uniform_int_distribution<int> byte(0, 0xFE);  // never 0xFF: no fake HART preamble
        Bytes garbage(static_cast<std::size_t>(length(random_)));
        for (auto& b : garbage) b = static_cast<std::uint8_t>(byte(random_));
        send(garbage, "(noise)");
        pause(kNoisePause);
    }

    // On a real serial device the line follows the RS485A settings once the
    // acknowledgement of a change has gone out.
    void followLineSettings() {
        const auto& port = module_.state().rs485a;
        if (port.baudCode == lastBaud_ && port.parityCode == lastParity_) return;
        lastBaud_ = port.baudCode;
        lastParity_ = port.parityCode;
        if (line_.isPseudoTerminal()) return;
        const int baud = kt730sim::baudRateOfCode(port.baudCode);
        if (line_.setLineSettings(baud, port.parityCode)) {
            log_.line("line now " + std::to_string(baud) + " baud, parity code " +
                      std::to_string(port.parityCode));
        } else {
            log_.line("could not change the line settings");
        }
    }

    const Options& options_;
    kt730sim::SerialLine& line_;
    Log log_;
    Clock::time_point started_;
    std::mt19937 random_;
    kt730sim::Module module_;
    int lastBaud_ = 0;
    int lastParity_ = 0;
};

class LinkGuard {
  public:
    LinkGuard(std::optional<std::string> link, const std::string& target) : link_(std::move(link)) {
        if (!link_) return;
        struct stat st {};
        if (lstat(link_->c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode))
                throw std::runtime_error(*link_ + " exists and is not a symbolic link");
            unlink(link_->c_str());
        }
        if (symlink(target.c_str(), link_->c_str()) != 0) {
            throw std::runtime_error("symlink " + *link_ + ": " + std::strerror(errno));
        }
    }
    ~LinkGuard() {
        if (link_) unlink(link_->c_str());
    }
    LinkGuard(const LinkGuard&) = delete;
    LinkGuard& operator=(const LinkGuard&) = delete;

  private:
    std::optional<std::string> link_;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        if (const auto code = parseOptions(argc, argv, options)) return *code;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kt730-sim: %s\n", e.what());
        printUsage(stderr);
        return 2;
    }

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        kt730sim::SerialLine line =
            options.device ? kt730sim::SerialLine::openDevice(*options.device, options.baud)
                           : kt730sim::SerialLine::openPseudoTerminal();
        LinkGuard link(options.link, line.path());
        std::printf("%s\n", line.path().c_str());
        std::fflush(stdout);
        Simulator sim(options, line);
        return sim.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kt730-sim: %s\n", e.what());
        return 1;
    }
}
