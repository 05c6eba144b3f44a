// The transaction engine on virtual time with a fake port.
#include "link/engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/manual_clock.h"
#include "link/user_error.h"
#include "support/fake_port.h"

namespace kt730 {
namespace {

using namespace std::chrono_literals;
using testing::FakePort;
using testing::RecordingMessages;

class EngineTest : public ::testing::Test {
  protected:
    EngineTest()
        : engine(clock, port, messages,
                 EngineView{[this](std::string_view t) { edit8 = std::string(t); },
                            [this](std::string_view t) { memo10 = std::string(t); },
                            [this](std::string_view t) { label68 = std::string(t); }}) {
        port.opened = true;
        // A parse that records what it saw; 100, 103 and 201 clear the request like the tabs do.
        for (std::int32_t code : {100, 103, 201, 202, 203, 204, 301, 501}) {
            engine.registerParse(code, [this, code] {
                if (code == 100 || code == 103 || code == 201) engine.requestCode = 0;
                parsed.push_back(std::to_string(code) + ":" + engine.replyText());
            });
        }
    }

    void reply(std::string_view bytes) { port.deliver(bytes); }

    ManualClock clock;
    FakePort port;
    RecordingMessages messages;
    std::string edit8 = "old send", memo10 = "old reply", label68 = "Current(RTU_ADR)";
    std::vector<std::string> parsed;
    Engine engine;
};

TEST_F(EngineTest, SendCommandShowsWritesAndArmsTheTimeout) {
    engine.sendText("QQQ#QX#", 202, 2);
    EXPECT_EQ(edit8, "QQQ#QX#");
    EXPECT_EQ(port.lastWriteText(), "QQQ#QX#");
    EXPECT_EQ(engine.requestCode, 202);
    EXPECT_EQ(engine.timeoutKind, 2);
    EXPECT_TRUE(engine.timer3().isEnabled());
    EXPECT_EQ(engine.timer3().interval(), 3000ms);

    const std::uint8_t frame[] = {0xFF, 0x02, 0x80, 0x00, 0x00, 0x82};
    engine.clearBuffers();
    engine.showAndWrite(frame, ShowForm::Hex);
    EXPECT_EQ(edit8, "FF 02 80 00 00 82 ");
    EXPECT_EQ(memo10, "");
}

TEST_F(EngineTest, ReplyIsHandled300msAfterItCameAndParsed300msLater) {
    engine.sendText("QQQ#QX#", 202, 2);
    reply("QX BA1:31");
    clock.advance(299ms);
    EXPECT_EQ(memo10, "old reply");
    clock.advance(1ms);
    EXPECT_EQ(memo10, "QX BA1:31");
    EXPECT_FALSE(engine.timer3().isEnabled());
    EXPECT_TRUE(parsed.empty());
    clock.advance(300ms);
    EXPECT_EQ(parsed, std::vector<std::string>{"202:QX BA1:31"});
    EXPECT_FALSE(engine.timer2().isEnabled());
    EXPECT_EQ(engine.requestCode, 202);
}

TEST_F(EngineTest, TwoBlocksBeforeTheParseAreParsedOnceOnTheSecond) {
    engine.sendText("QQQ#QX#", 202, 2);
    reply("first");  // handled at 300, Timer2 due at 600
    clock.advance(100ms);
    reply("second");  // waits from 300 to 600; Timer2's expiry falls inside and comes after it
    clock.advance(1000ms);
    EXPECT_EQ(parsed, std::vector<std::string>{"202:second"});
    EXPECT_EQ(memo10, "second");
}

TEST_F(EngineTest, ABlockAfterTheParseIsParsedAgainOnlyForCodesThatStayPending) {
    struct Case {
        std::int32_t code;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {202, {"202:one", "202:two"}},
        {501, {"501:one", "501:two"}},
        {201, {"201:one"}},
        {100, {"100:one"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        parsed.clear();
        engine.sendText("Q", c.code, 2);
        reply("one");
        clock.advance(700ms);
        reply("two");
        clock.advance(700ms);
        EXPECT_EQ(parsed, c.expected);
        EXPECT_EQ(memo10, "two");  // after 100 or 201 nothing is pending: shown as text
    }
}

TEST_F(EngineTest, ReplyWithNothingOrASetPendingIsShownAndClearsTheRequest) {
    for (std::int32_t code : {0, 200}) {
        SCOPED_TRACE(code);
        engine.sendText("QQS#RESET#", code, 3);
        reply("OK");
        clock.advance(1000ms);
        EXPECT_EQ(memo10, "OK");
        EXPECT_EQ(engine.requestCode, 0);
        EXPECT_TRUE(parsed.empty());
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(EngineTest, TwoCommandsTwoSecondsApartTimeOutOnce3000msAfterTheFirst) {
    engine.sendText("QQS#RESET#", 200, 3);
    clock.advance(2000ms);
    engine.sendText("QQS#RESET#", 200, 3);
    clock.advance(999ms);
    EXPECT_TRUE(messages.shown.empty());
    clock.advance(1ms);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"!"});
    EXPECT_EQ(label68, "Set Timeout");
    clock.advance(10000ms);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(engine.requestCode, 200);  // a late reply is still handled as the set's reply
}

TEST_F(EngineTest, TheFirstHartRequestTimesOutAfter1000ms) {
    engine.sendHartFrame(12, 100);
    EXPECT_EQ(engine.timeoutKind, 3);
    clock.advance(999ms);
    EXPECT_TRUE(messages.shown.empty());
    clock.advance(1ms);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"!"});

    // Once a sender has set 3000 ms it stays.
    messages.shown.clear();
    engine.sendText("QQQ#QV#", 201, 1);
    reply("QV:1");
    clock.advance(1000ms);
    engine.sendHartFrame(12, 100);
    clock.advance(2999ms);
    EXPECT_TRUE(messages.shown.empty());
    clock.advance(1ms);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"!"});
}

TEST_F(EngineTest, TimeoutMessagesByKind) {
    struct Case {
        std::int32_t code, kind;
        std::string message, caption;
    };
    const Case cases[] = {
        {201, 1, "Connection Timeout!", "Current(RTU_ADR)"},
        {202, 2, "Parameter Query Timeout!", ""},
        {200, 3, "!", "Set Timeout"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        messages.shown.clear();
        label68 = "Current(RTU_ADR)";
        engine.sendText("Q", c.code, c.kind);
        clock.advance(3000ms);
        EXPECT_EQ(messages.shown, std::vector<std::string>{c.message});
        EXPECT_EQ(label68, c.caption);
        EXPECT_FALSE(engine.timer3().isEnabled());
        EXPECT_EQ(engine.requestCode, c.code);
    }
}

TEST_F(EngineTest, AReplyWhoseWaitSpansTheTimeoutStopsItBeforeItFires) {
    engine.sendText("QQQ#QV#", 201, 1);
    clock.advance(2800ms);
    reply("QV:1");  // handled at 3100; the expiry at 3000 falls inside the wait
    clock.advance(2000ms);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(parsed, std::vector<std::string>{"201:QV:1"});
}

TEST_F(EngineTest, BlocksQueueAndAreHandledInArrivalOrder300msApart) {
    engine.sendText("Q", 104, 3);
    reply("a");
    reply("b");
    clock.advance(300ms);
    EXPECT_EQ(memo10, "61 ");
    clock.advance(299ms);
    EXPECT_EQ(memo10, "61 ");
    clock.advance(1ms);
    EXPECT_EQ(memo10, "62 ");
    EXPECT_EQ(engine.requestCode, 104);
}

TEST_F(EngineTest, LongBlocksAreCutToTheReceiveAreaAndTheReplyText) {
    for (std::size_t size : {300u, 2048u}) {
        SCOPED_TRACE(size);
        engine.workBuffer().fill(0x11);
        std::vector<std::uint8_t> block(size);
        for (std::size_t i = 0; i < size; ++i) block[i] = static_cast<std::uint8_t>(i);
        engine.sendText("Q", 100, 3);
        engine.workBuffer()[0] = 0x11;  // the HART store before the send area stays untouched
        port.deliver(block);
        clock.advance(300ms);
        const auto area = engine.receiveArea();
        const std::size_t stored = std::min<std::size_t>(size, Engine::kReceiveAreaSize);
        for (std::size_t i = 0; i < stored; ++i) ASSERT_EQ(area[i], block[i]) << i;
        for (std::size_t i = stored; i < area.size(); ++i) ASSERT_EQ(area[i], 0x11) << i;
        EXPECT_EQ(engine.replyText().size(), 255u);
        EXPECT_EQ(memo10.size(), 255u * 3);
        EXPECT_EQ(memo10.substr(0, 9), "00 01 02 ");
        EXPECT_EQ(memo10.substr(254 * 3), "FE ");
        EXPECT_EQ(engine.workBuffer()[0], 0x11);
        clock.advance(300ms);
    }
}

TEST_F(EngineTest, AZeroByteInATextReplyIsKeptForTheParseButEndsTheDisplay) {
    engine.sendText("QQQ#QX#", 202, 2);
    reply(std::string_view("QX\0MD:2", 7));
    clock.advance(600ms);
    EXPECT_EQ(memo10, "QX");
    EXPECT_EQ(engine.replyText(), std::string("QX\0MD:2", 7));
    EXPECT_EQ(parsed, std::vector<std::string>{std::string("202:QX\0MD:2", 11)});
}

TEST_F(EngineTest, AConversionErrorInAParseIsShownWithAFullStopAndStopsIt) {
    bool after = false;
    engine.registerParse(301, [&] {
        throw UserError("'x' is not a valid integer value");
        after = true;
    });
    engine.sendText("QQQ#QQ0#", 301, 2);
    reply("x");
    clock.advance(600ms);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"'x' is not a valid integer value."});
    EXPECT_FALSE(after);
    EXPECT_EQ(engine.requestCode, 301);
}

TEST_F(EngineTest, ClosedPortShowsTheCommandWritesNothingAndTimesOut) {
    port.opened = false;
    engine.sendText("QQQ#QV#", 201, 1);
    EXPECT_EQ(edit8, "QQQ#QV#");
    EXPECT_TRUE(port.writes.empty());
    clock.advance(3000ms);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Connection Timeout!"});
}

TEST_F(EngineTest, Timer4RunsTheAutoCloseOnce) {
    int closes = 0;
    engine.setAutoCloseHandler([&] {
        engine.timer4().setEnabled(false);
        ++closes;
    });
    engine.timer4().setInterval(2000ms);
    engine.timer4().setEnabled(true);
    clock.advance(1500ms);
    engine.timer4().setInterval(2000ms);  // a second baud command does not postpone it
    engine.timer4().setEnabled(true);
    clock.advance(500ms);
    EXPECT_EQ(closes, 1);
    clock.advance(5000ms);
    EXPECT_EQ(closes, 1);
}

}  // namespace
}  // namespace kt730
