// The window's timer rule and the block cutter, on virtual time.
#include "link/module_timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/block_cutter.h"
#include "link/manual_clock.h"

namespace kt730 {
namespace {

using namespace std::chrono_literals;

TEST(ModuleTimer, FollowsTheTimerRule) {
    struct Step {
        const char* what;
        Millis at;    // time of the action
        bool enable;  // action: setEnabled(enable) after setInterval(interval)
        Millis interval;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<Millis> expectedFires;  // within 0..5000 ms
    };
    const Case cases[] = {
        {"enabling an enabled timer does not restart it",
         {{"start", 0ms, true, 1000ms}, {"again", 600ms, true, 1000ms}},
         {1000ms, 2000ms, 3000ms, 4000ms, 5000ms}},
        {"a different interval restarts the countdown",
         {{"start", 0ms, true, 1000ms}, {"change", 600ms, true, 3000ms}},
         {3600ms}},
        {"disabling stops it",
         {{"start", 0ms, true, 1000ms}, {"stop", 1500ms, false, 1000ms}},
         {1000ms}},
        {"a disabled timer keeps a new interval for its next start",
         {{"set", 0ms, false, 3000ms}, {"start", 1000ms, true, 3000ms}},
         {4000ms}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ManualClock clock;
        std::vector<Millis> fires;
        ModuleTimer timer(clock, 1000ms, [&] { fires.push_back(clock.now()); });
        for (const Step& s : c.steps) {
            clock.advance(s.at - clock.now());
            timer.setInterval(s.interval);
            timer.setEnabled(s.enable);
        }
        clock.advance(5000ms - clock.now());
        EXPECT_EQ(fires, c.expectedFires);
    }
}

TEST(BlockCutter, EndsABlockAfter100msOfQuietOrAt2048Bytes) {
    ManualClock clock;
    std::vector<std::size_t> blocks;
    BlockCutter cutter(clock, [&](std::span<const std::uint8_t> b) { blocks.push_back(b.size()); });

    const std::vector<std::uint8_t> ten(10, 0x41);
    cutter.feed(ten);
    clock.advance(99ms);
    cutter.feed(ten);  // within the quiet time: same block
    clock.advance(99ms);
    EXPECT_TRUE(blocks.empty());
    clock.advance(1ms);
    EXPECT_EQ(blocks, std::vector<std::size_t>{20});

    blocks.clear();
    const std::vector<std::uint8_t> many(3000, 0x42);
    cutter.feed(many);
    EXPECT_EQ(blocks, std::vector<std::size_t>{2048});
    clock.advance(100ms);
    EXPECT_EQ(blocks, (std::vector<std::size_t>{2048, 952}));

    blocks.clear();
    cutter.feed(ten);
    cutter.reset();
    clock.advance(500ms);
    EXPECT_TRUE(blocks.empty());
}

}  // namespace
}  // namespace kt730
