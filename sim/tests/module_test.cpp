// How the module tells command texts, HART frames and Modbus frames apart on
// its one line, and that any input at all is survived.
#include "module.hpp"

#include <gtest/gtest.h>

#include <random>

#include "test_support.hpp"

namespace kt730sim {
namespace {

using test::withPreamble;

struct KindCase {
    const char* name;
    Bytes request;
    RequestKind kind;
};

const std::vector<KindCase> kKindCases = {
    {"query", toBytes("QQQ#QV#"), RequestKind::Command},
    {"set", toBytes("QQS#MD:0#"), RequestKind::Command},
    {"factory", toBytes("KVRTNB#IA01:1,00800,04000#"), RequestKind::Command},
    {"unknown_keyword_is_still_a_command", toBytes("QQS#WHAT#"), RequestKind::Command},
    {"hart_with_preamble", withPreamble(7, {0x02, 0x80, 0x00, 0x00, 0x82}), RequestKind::Hart},
    {"hart_without_preamble", Bytes{0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x03, 0x00, 0x21},
     RequestKind::Hart},
    {"modbus", Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}, RequestKind::Modbus},
    // Slave 2 opens with the byte of a short HART delimiter: the CRC decides.
    {"modbus_to_slave_2", Bytes{0x02, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x39},
     RequestKind::Modbus},
    {"modbus_with_damaged_crc", Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCC},
     RequestKind::Unknown},
    {"lower_case_text", toBytes("qqq#qv#"), RequestKind::Unknown},
    {"prefix_cut_short", toBytes("QQQ"), RequestKind::Unknown},
    {"text_with_leading_blank", toBytes(" QQQ#QV#"), RequestKind::Unknown},
};

TEST(Module, TellsRequestsApart) {
    const Module module;
    for (const auto& c : kKindCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(module.classify(c.request), c.kind);
    }
}

TEST(Module, CommandsAnswerInEveryMode) {
    Module module;
    ASSERT_EQ(toText(*module.handle(toBytes("QQS#MD:4#"), 0.0).reply), "OK MD");
    const auto reply = module.handle(toBytes("QQQ#QV#"), 0.0).reply;
    ASSERT_TRUE(reply);
    EXPECT_EQ(toText(*reply).substr(0, 3), "QV:");
}

TEST(Module, UnknownBytesGetNoAnswer) {
    Module module;
    EXPECT_FALSE(module.handle(Bytes{0x00, 0x13, 0x37}, 0.0).reply);
    EXPECT_FALSE(module.handle(Bytes{}, 0.0).reply);
}

// Random blocks, and random damage to valid requests, never crash the module
// and never leave a reply text beyond what the tool keeps.
TEST(Module, SurvivesArbitraryInput) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::vector<Bytes> seeds = {
        toBytes("QQS#CAMD01:1<03,"),
        toBytes("QQS#WCAD01:1<14,"),
        toBytes("QQS#HART0:1,1,12,5,060#"),
        toBytes("KVRTNB#PCBSN:00000123,007#"),
        withPreamble(5, {0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x06, 0x01}),
        Bytes{0x01, 0x03, 0x00, 0x00},
    };
    Module module;
    for (int round = 0; round < 20000; ++round) {
        Bytes request = seeds[static_cast<std::size_t>(round) % seeds.size()];
        const int extra = byte(random) % 24;
        for (int i = 0; i < extra; ++i) request.push_back(static_cast<std::uint8_t>(byte(random)));
        if (!request.empty() && round % 3 == 0)
            request[static_cast<std::size_t>(byte(random)) % request.size()] ^= 0x5A;
        const Exchange ex = module.handle(request, round * 0.1);
        if (ex.reply && ex.kind == RequestKind::Command) {
            EXPECT_LE(ex.reply->size(), 255U);
        }
    }
    for (int n = 0; n < 5; ++n) {
        const auto reply = module.handle(toBytes("QQQ#QQ" + std::to_string(n) + "#"), 0.0).reply;
        ASSERT_TRUE(reply);
        EXPECT_LE(reply->size(), 255U);
    }
}

}  // namespace
}  // namespace kt730sim
