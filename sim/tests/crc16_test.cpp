#include "crc16.hpp"

#include <gtest/gtest.h>

#include "test_support.hpp"

namespace kt730sim {
namespace {

struct CrcCase {
    const char* name;
    Bytes data;
    std::uint8_t first;   // low-order byte, first on the line
    std::uint8_t second;  // high-order byte
};

// Known vectors: the standard check value of "123456789" and the tool's
// default read request 01 03 00 00 00 0A, whose CRC bytes are C5 CD.
const CrcCase kCrcCases[] = {
    {"check_string", toBytes("123456789"), 0x37, 0x4B},
    {"read_ten_registers", {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}, 0xC5, 0xCD},
    {"empty", {}, 0xFF, 0xFF},
};

TEST(ModbusCrc, KnownVectors) {
    for (const auto& c : kCrcCases) {
        SCOPED_TRACE(c.name);
        Bytes frame = c.data;
        appendModbusCrc(frame);
        ASSERT_EQ(frame.size(), c.data.size() + 2);
        EXPECT_EQ(frame[frame.size() - 2], c.first);
        EXPECT_EQ(frame[frame.size() - 1], c.second);
        if (!c.data.empty()) {
            EXPECT_TRUE(hasValidModbusCrc(frame));
        }
    }
}

TEST(ModbusCrc, RejectsDamagedOrShortFrames) {
    const Bytes good = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    const Bytes cases[] = {
        {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xCD, 0xC5},  // CRC bytes swapped
        {0x01, 0x03, 0x00, 0x00, 0x00, 0x0B, 0xC5, 0xCD},  // payload changed
        {0xC5, 0xCD},
        {},
    };
    EXPECT_TRUE(hasValidModbusCrc(good));
    for (const auto& frame : cases) EXPECT_FALSE(hasValidModbusCrc(frame));
}

}  // namespace
}  // namespace kt730sim
