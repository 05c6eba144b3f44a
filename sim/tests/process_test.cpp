// The simulator program over a real pseudo-terminal: start, the first line of
// output, exchanges through a port that is opened and closed again, the fault
// modes and a clean end on SIGTERM. Only this file knows the program's path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }
std::string textOf(const Bytes& b) { return std::string(b.begin(), b.end()); }

class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), KT730_SIM_EXE);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, KT730_SIM_EXE, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
        path_ = readLine(5s);
    }

    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }

    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& path() const { return path_; }

    // Sends SIGTERM and gives the exit status, or -1 when it did not end.
    int terminate() {
        if (pid_ <= 0) return -1;
        kill(pid_, SIGTERM);
        const auto until = Clock::now() + 5s;
        while (Clock::now() < until) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

  private:
    std::string readLine(std::chrono::milliseconds limit) {
        std::string line;
        const auto until = Clock::now() + limit;
        while (Clock::now() < until) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            char c = 0;
            if (read(out_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return {};
    }

    pid_t pid_ = -1;
    int out_ = -1;
    std::string path_;
};

class Port {
  public:
    explicit Port(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
        if (fd_ < 0) return;
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        tcsetattr(fd_, TCSANOW, &tio);
    }
    ~Port() {
        if (fd_ >= 0) close(fd_);
    }
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    void send(const Bytes& request) {
        ASSERT_EQ(write(fd_, request.data(), request.size()), ssize_t(request.size()));
    }

    // The next block: bytes until the line has been quiet for `quiet`;
    // empty when nothing comes within `first`.
    Bytes block(std::chrono::milliseconds first = 3000ms, std::chrono::milliseconds quiet = 100ms) {
        Bytes got;
        std::chrono::milliseconds wait = first;
        for (;;) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(wait.count())) <= 0) return got;
            std::uint8_t buf[512];
            const ssize_t n = read(fd_, buf, sizeof buf);
            if (n <= 0) return got;
            got.insert(got.end(), buf, buf + n);
            wait = quiet;
        }
    }

    Bytes exchange(const Bytes& request) {
        send(request);
        return block();
    }

  private:
    int fd_;
};

TEST(SimProcess, AnswersOverPseudoTerminalThatIsReopened) {
    SimProcess sim({"--frozen"});
    ASSERT_FALSE(sim.path().empty());
    {
        Port port(sim.path());
        ASSERT_TRUE(port.isOpen());
        EXPECT_EQ(textOf(port.exchange(bytesOf("QQQ#QV#"))).substr(0, 3), "QV:");
    }
    {
        Port port(sim.path());
        ASSERT_TRUE(port.isOpen());
        // 01 03 14, then the floats 12.0 and 12.5 in the first four registers.
        const Bytes reply = port.exchange({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD});
        ASSERT_EQ(reply.size(), 25U);
        EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 11),
                  (Bytes{0x01, 0x03, 0x14, 0x41, 0x40, 0x00, 0x00, 0x41, 0x48, 0x00, 0x00}));
    }
    {
        Port port(sim.path());
        EXPECT_EQ(textOf(port.exchange(bytesOf("QQS#MD:9#"))), "ERR");
        EXPECT_EQ(textOf(port.exchange(bytesOf("QQS#MD:0#"))), "OK MD");
        // A HART identification in transparent mode: preambles, then 06 80 00.
        const Bytes reply =
            port.exchange({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x80, 0x00, 0x00, 0x82});
        ASSERT_GE(reply.size(), 8U);
        EXPECT_EQ(Bytes(reply.begin() + 4, reply.begin() + 8), (Bytes{0xFF, 0x06, 0x80, 0x00}));
    }
    EXPECT_EQ(sim.terminate(), 0);
}

TEST(SimProcess, SplitAnswerComesInTwoBlocks) {
    SimProcess sim({"--split", "400"});
    Port port(sim.path());
    ASSERT_TRUE(port.isOpen());
    port.send(bytesOf("QQQ#QX#"));
    const Bytes first = port.block(3000ms, 100ms);
    const Bytes second = port.block(3000ms, 100ms);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    const std::string whole = textOf(first) + textOf(second);
    EXPECT_EQ(whole.substr(0, 3), "QX:");
    EXPECT_NE(whole.find("AADR:"), std::string::npos);
    EXPECT_EQ(sim.terminate(), 0);
}

TEST(SimProcess, SilentNeverAnswers) {
    SimProcess sim({"--silent"});
    Port port(sim.path());
    ASSERT_TRUE(port.isOpen());
    port.send(bytesOf("QQQ#QV#"));
    EXPECT_TRUE(port.block(1000ms).empty());
    EXPECT_EQ(sim.terminate(), 0);
}

TEST(SimProcess, DelayHoldsTheAnswerBack) {
    SimProcess sim({"--delay", "600"});
    Port port(sim.path());
    ASSERT_TRUE(port.isOpen());
    port.send(bytesOf("QQQ#QV#"));
    EXPECT_TRUE(port.block(250ms).empty());
    EXPECT_EQ(textOf(port.block(5000ms)).substr(0, 3), "QV:");
    EXPECT_EQ(sim.terminate(), 0);
}

TEST(SimProcess, NoiseComesAsBlocksOfItsOwnBeforeAnswers) {
    SimProcess sim({"--noise", "--seed", "7"});
    Port port(sim.path());
    ASSERT_TRUE(port.isOpen());
    int noisy = 0;
    for (int i = 0; i < 16; ++i) {
        port.send(bytesOf("QQS#MD:0#"));
        Bytes block = port.block();
        if (textOf(block) != "OK MD") {
            ++noisy;
            EXPECT_EQ(textOf(port.block()), "OK MD");
        }
    }
    EXPECT_GT(noisy, 0);
    EXPECT_EQ(sim.terminate(), 0);
}

TEST(SimProcess, LinkExistsWhileRunningAndIsRemovedAtExit) {
    const std::string link = "/tmp/kt730-sim-test-link-" + std::to_string(getpid());
    SimProcess sim({"--link", link});
    ASSERT_FALSE(sim.path().empty());
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim.path());
    {
        Port port(link);
        EXPECT_EQ(textOf(port.exchange(bytesOf("QQQ#QV#"))).substr(0, 3), "QV:");
    }
    EXPECT_EQ(sim.terminate(), 0);
    struct stat st {};
    EXPECT_NE(lstat(link.c_str(), &st), 0);
}

}  // namespace
