// The HART instrument behind the module, reached in transparent mode.
// Expected frames are worked out by hand: preamble FF x5, delimiter, address
// echo, command, byte count, response code, status, data, XOR check byte.
#include <gtest/gtest.h>

#include <optional>

#include "module.hpp"
#include "test_support.hpp"

namespace kt730sim {
namespace {

using test::withPreamble;

struct HartCase {
    const char* name;
    Bytes request;
    std::optional<Bytes> reply;
};

const std::vector<HartCase> kHartCases = {
    // Command 0 to polling address 0 as primary master, the tool's default frame.
    {"identify_primary_master", withPreamble(7, {0x02, 0x80, 0x00, 0x00, 0x82}),
     withPreamble(5, {0x06, 0x80, 0x00, 0x0E, 0x00, 0x00, 0xFE, 0x26, 0x06, 0x05, 0x05, 0x01, 0x03,
                      0x08, 0x00, 0x01, 0x02, 0x03, 0x5C})},
    // The same as secondary master: master bit clear in request and reply.
    {"identify_secondary_master", withPreamble(7, {0x02, 0x00, 0x00, 0x00, 0x02}),
     withPreamble(5, {0x06, 0x00, 0x00, 0x0E, 0x00, 0x00, 0xFE, 0x26, 0x06, 0x05, 0x05, 0x01, 0x03,
                      0x08, 0x00, 0x01, 0x02, 0x03, 0xDC})},
    // One preamble byte (preamble setting 0) and none at all (setting -1).
    {"identify_one_preamble", withPreamble(1, {0x02, 0x80, 0x00, 0x00, 0x82}),
     withPreamble(5, {0x06, 0x80, 0x00, 0x0E, 0x00, 0x00, 0xFE, 0x26, 0x06, 0x05, 0x05, 0x01, 0x03,
                      0x08, 0x00, 0x01, 0x02, 0x03, 0x5C})},
    {"identify_no_preamble", Bytes{0x02, 0x80, 0x00, 0x00, 0x82},
     withPreamble(5, {0x06, 0x80, 0x00, 0x0E, 0x00, 0x00, 0xFE, 0x26, 0x06, 0x05, 0x05, 0x01, 0x03,
                      0x08, 0x00, 0x01, 0x02, 0x03, 0x5C})},
    // Command 3 in a long frame at time 0: 12 mA, 12.5 m3/h (19), 21 degC (32),
    // 1.5 bar (7), 50 % (57).
    {"dynamic_variables", withPreamble(7, {0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x03, 0x00, 0x21}),
     withPreamble(5, {0x86, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x03, 0x1A, 0x00, 0x00, 0x41, 0x40,
                      0x00, 0x00, 0x13, 0x41, 0x48, 0x00, 0x00, 0x20, 0x41, 0xA8, 0x00, 0x00,
                      0x07, 0x3F, 0xC0, 0x00, 0x00, 0x39, 0x42, 0x48, 0x00, 0x00, 0x26})},
    // A command the instrument lacks: response code 64, no data.
    {"unknown_command", withPreamble(7, {0x02, 0x80, 0x01, 0x00, 0x83}),
     withPreamble(5, {0x06, 0x80, 0x01, 0x02, 0x40, 0x00, 0xC5})},
    {"bad_check_byte", withPreamble(7, {0x02, 0x80, 0x00, 0x00, 0x83}), std::nullopt},
    {"other_polling_address", withPreamble(7, {0x02, 0x81, 0x00, 0x00, 0x83}), std::nullopt},
    {"no_selection_address_7F", withPreamble(7, {0x02, 0x7F, 0x00, 0x00, 0x7D}), std::nullopt},
    // Long frame to zeros: the tool's address before any identification.
    {"long_frame_before_identification",
     withPreamble(7, {0x82, 0x80, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x01}), std::nullopt},
    {"long_frame_other_device_id",
     withPreamble(7, {0x82, 0xA6, 0x06, 0x01, 0x02, 0x04, 0x03, 0x00, 0x26}), std::nullopt},
    {"long_frame_other_device_type",
     withPreamble(7, {0x82, 0xA6, 0x07, 0x01, 0x02, 0x03, 0x03, 0x00, 0x20}), std::nullopt},
    {"check_byte_missing", withPreamble(7, {0x02, 0x80, 0x00, 0x00}), std::nullopt},
    {"data_shorter_than_count", withPreamble(7, {0x02, 0x80, 0x00, 0x05, 0x01, 0x86}),
     std::nullopt},
    {"preamble_only", withPreamble(9, {}), std::nullopt},
    {"acknowledge_delimiter_is_not_a_request", withPreamble(5, {0x06, 0x80, 0x00, 0x00, 0x86}),
     std::nullopt},
};

TEST(HartInstrument, AnswersOrStaysSilent) {
    for (const auto& c : kHartCases) {
        SCOPED_TRACE(c.name);
        Module module;
        const Exchange ex = module.handle(c.request, 0.0);
        EXPECT_EQ(ex.kind, RequestKind::Hart);
        EXPECT_EQ(ex.reply, c.reply);
    }
}

TEST(HartInstrument, PollingAddressChangeMovesTheShortFrameAddress) {
    Module module;
    // Command 6, new polling address 3, long frame of the instrument's unique
    // address with the master bit (the tool's example frame, check byte 26).
    const Bytes setAddress =
        withPreamble(7, {0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x06, 0x01, 0x03, 0x26});
    const Bytes expected =
        withPreamble(5, {0x86, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x06, 0x03, 0x00, 0x00, 0x03, 0x20});
    EXPECT_EQ(module.handle(setAddress, 0.0).reply, expected);
    EXPECT_EQ(module.instrument().pollingAddress(), 3);

    const Bytes identifyAt0 = withPreamble(7, {0x02, 0x80, 0x00, 0x00, 0x82});
    const Bytes identifyAt3 = withPreamble(7, {0x02, 0x83, 0x00, 0x00, 0x81});
    EXPECT_FALSE(module.handle(identifyAt0, 0.0).reply);
    const auto reply = module.handle(identifyAt3, 0.0).reply;
    ASSERT_TRUE(reply);
    ASSERT_GT(reply->size(), 7U);
    EXPECT_EQ((*reply)[5], 0x06);
    EXPECT_EQ((*reply)[6], 0x83);
}

TEST(HartInstrument, PollingAddressOutOfRangeIsRefusedWithResponseCode) {
    Module module;
    // New address 64: response code 2 (invalid selection), no data.
    const Bytes request =
        withPreamble(5, {0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x06, 0x01, 0x40, 0x65});
    const auto reply = module.handle(request, 0.0).reply;
    ASSERT_TRUE(reply);
    ASSERT_GE(reply->size(), 16U);
    EXPECT_EQ((*reply)[12], 0x02);  // byte count: status only
    EXPECT_EQ((*reply)[13], 0x02);  // response code
    EXPECT_EQ(module.instrument().pollingAddress(), 0);
}

TEST(HartInstrument, ValuesDriftOverTime) {
    Module module;
    const Bytes request = withPreamble(7, {0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x03, 0x00, 0x21});
    // A quarter of the 60 s flow period later the flow is at its top, 15 m3/h.
    const auto reply = module.handle(request, 15.0).reply;
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->size(), 5U + 1 + 5 + 2 + 26 + 1);
    const Bytes pv(reply->begin() + 20, reply->begin() + 24);
    EXPECT_EQ(pv, (Bytes{0x41, 0x70, 0x00, 0x00}));
}

TEST(HartInstrument, OnlyTransparentModePassesFrames) {
    const Bytes identify = withPreamble(7, {0x02, 0x80, 0x00, 0x00, 0x82});
    for (const char* mode : {"QQS#MD:1#", "QQS#MD:2#", "QQS#MD:3#", "QQS#MD:4#"}) {
        Module module;
        ASSERT_EQ(toText(*module.handle(toBytes(mode), 0.0).reply), "OK MD");
        EXPECT_FALSE(module.handle(identify, 0.0).reply) << mode;
    }
}

}  // namespace
}  // namespace kt730sim
