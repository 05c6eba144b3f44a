#include "hart/hart_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "link/user_error.h"

namespace kt730::hart {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kSendAreaSize = 504;
constexpr std::uint8_t kUntouched = 0xAA;

TEST(CheckByte, IsTheExclusiveOrOfTheBody) {
    struct Case {
        Bytes body;
        std::uint8_t check;
    };
    const Case cases[] = {
        {{}, 0x00},
        {{0x5A}, 0x5A},
        {{0x02, 0x80, 0x00, 0x00}, 0x82},  // command 0 to polling address 0, primary master
        {{0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x06, 0x01, 0x03}, 0x26},  // command 6
        {{0xFF, 0xFF}, 0x00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkByte(c.body), c.check) << "body of " << c.body.size() << " bytes";
    }
}

TEST(BuildHartFrame, PreambleBodyAndCheckByte) {
    const Bytes command0 = {0x02, 0x80, 0x00, 0x00};
    struct Case {
        Bytes body;
        int preambles;
        Bytes frame;
    };
    const Case cases[] = {
        {command0, 7, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x80, 0x00, 0x00, 0x82}},
        {command0, 1, {0xFF, 0x02, 0x80, 0x00, 0x00, 0x82}},
        {command0, 0, {0x02, 0x80, 0x00, 0x00, 0x82}},
        {{0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x06, 0x01, 0x03},
         2,
         {0xFF, 0xFF, 0x82, 0xA6, 0x06, 0x01, 0x02, 0x03, 0x06, 0x01, 0x03, 0x26}},
        {{}, 2, {0xFF, 0xFF, 0x00}},
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, kSendAreaSize> out;
        out.fill(kUntouched);
        EXPECT_EQ(buildHartFrame(c.body, c.preambles, out), c.frame.size());
        EXPECT_TRUE(std::equal(c.frame.begin(), c.frame.end(), out.begin()))
            << c.preambles << " preambles";
        EXPECT_TRUE(std::all_of(out.begin() + static_cast<std::ptrdiff_t>(c.frame.size()),
                                out.end(), [](std::uint8_t b) { return b == kUntouched; }))
            << "bytes written past the frame";
    }
}

TEST(BuildHartFrame, FrameFillingTheAreaExactlyIsAccepted) {
    const Bytes body = {0x02, 0x80, 0x00, 0x00};
    std::array<std::uint8_t, 8> out{};
    EXPECT_EQ(buildHartFrame(body, 3, out), 8u);
    EXPECT_EQ(out, (std::array<std::uint8_t, 8>{0xFF, 0xFF, 0xFF, 0x02, 0x80, 0x00, 0x00, 0x82}));
}

TEST(BuildHartFrame, RefusedPreambleCountWritesNothing) {
    struct Case {
        std::size_t bodySize;
        int preambles;
        const char* message;
    };
    // With a 504-byte area a body of n bytes leaves room for 503 - n preamble bytes, which the
    // engineer types as 502 - n.
    const Case cases[] = {
        {4, -1, "Preamble Length must be from -1 to 498"},
        {4, -1000, "Preamble Length must be from -1 to 498"},
        {4, 500, "Preamble Length must be from -1 to 498"},
        {15, 489, "Preamble Length must be from -1 to 487"},
        {16, 2'147'483'647, "Preamble Length must be from -1 to 486"},
    };
    for (const Case& c : cases) {
        const Bytes body(c.bodySize, 0x01);
        std::array<std::uint8_t, kSendAreaSize> out;
        out.fill(kUntouched);
        try {
            buildHartFrame(body, c.preambles, out);
            ADD_FAILURE() << c.preambles << " preambles accepted";
        } catch (const UserError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](auto b) { return b == kUntouched; }))
            << c.preambles << " preambles";
    }
}

TEST(BuildHartFrame, LargestPreambleIsAccepted) {
    const Bytes body(15, 0x01);
    std::array<std::uint8_t, kSendAreaSize> out{};
    EXPECT_EQ(buildHartFrame(body, 488, out), kSendAreaSize);
    EXPECT_EQ(out[487], kPreambleByte);
    EXPECT_EQ(out[488], 0x01);
    EXPECT_EQ(out[503], 0x01);  // fifteen 0x01 bytes leave a check byte of 0x01
}

TEST(BuildHartFrame, BodyLargerThanTheAreaIsRefused) {
    const Bytes body(4, 0x01);
    std::array<std::uint8_t, 4> out;
    out.fill(kUntouched);
    EXPECT_THROW(buildHartFrame(body, 0, out), UserError);
    EXPECT_EQ(out, (std::array<std::uint8_t, 4>{kUntouched, kUntouched, kUntouched, kUntouched}));
}

}  // namespace
}  // namespace kt730::hart
