// The module as a Modbus RTU slave: function 03 over the register map, ten
// registers per device slot. CRC bytes below are the standard Modbus CRC-16,
// worked out independently of the simulator.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "crc16.hpp"
#include "module.hpp"
#include "test_support.hpp"

namespace kt730sim {
namespace {

struct ModbusCase {
    const char* name;
    std::vector<const char*> setup;  // command texts sent first
    Bytes request;
    std::optional<Bytes> reply;
};

// Slot 0 at time 0, all formats 0 (float, high word first):
// 12 mA = 41400000, 12.5 m3/h = 41480000, 21 degC = 41A80000,
// 1.5 bar = 3FC00000, 50 % = 42480000.
const std::vector<ModbusCase> kModbusCases = {
    {"read_slot0_default_request",
     {},
     {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD},
     Bytes{0x01, 0x03, 0x14, 0x41, 0x40, 0x00, 0x00, 0x41, 0x48, 0x00, 0x00, 0x41, 0xA8,
           0x00, 0x00, 0x3F, 0xC0, 0x00, 0x00, 0x42, 0x48, 0x00, 0x00, 0xFE, 0x48}},
    {"read_past_the_map",
     {},
     {0x01, 0x03, 0x00, 0x32, 0x00, 0x01, 0x25, 0xC5},
     Bytes{0x01, 0x83, 0x02, 0xC0, 0xF1}},
    {"read_last_two_registers_of_the_map_and_one_more",
     {},
     {0x01, 0x03, 0x00, 0x31, 0x00, 0x02, 0x95, 0xC4},
     Bytes{0x01, 0x83, 0x02, 0xC0, 0xF1}},
    {"input_registers_not_supported",
     {},
     {0x01, 0x04, 0x00, 0x00, 0x00, 0x01, 0x31, 0xCA},
     Bytes{0x01, 0x84, 0x01, 0x82, 0xC0}},
    {"quantity_zero",
     {},
     {0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x45, 0xCA},
     Bytes{0x01, 0x83, 0x03, 0x01, 0x31}},
    {"damaged_crc", {}, {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCC}, std::nullopt},
    {"other_slave", {}, {0x11, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC6, 0x9B}, std::nullopt},
    {"new_slave_address",
     {"QQS#ADR:017#"},
     {0x11, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC6, 0x9B},
     Bytes{0x11, 0x03, 0x04, 0x41, 0x40, 0x00, 0x00, 0xFE, 0x1A}},
    {"old_slave_address_after_change",
     {"QQS#ADR:017#"},
     {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD},
     std::nullopt},
};

TEST(ModbusSlave, ReadHoldingRegisters) {
    for (const auto& c : kModbusCases) {
        SCOPED_TRACE(c.name);
        Module module;
        for (const char* command : c.setup)
            ASSERT_EQ(module.handle(toBytes(command), 0.0).reply->at(0), 'O');
        EXPECT_EQ(module.handle(c.request, 0.0).reply, c.reply);
    }
}

// Registers of slot 0 as 16-bit words, read through the line protocol.
std::vector<std::uint16_t> readRegisters(Module& module, std::uint16_t start, std::uint16_t count) {
    Bytes request{0x01,
                  0x03,
                  static_cast<std::uint8_t>(start >> 8),
                  static_cast<std::uint8_t>(start & 0xFF),
                  static_cast<std::uint8_t>(count >> 8),
                  static_cast<std::uint8_t>(count & 0xFF)};
    // The CRC routine is pinned down by the fixed frames above and its own test.
    appendModbusCrc(request);
    const auto reply = module.handle(request, 0.0).reply;
    std::vector<std::uint16_t> words;
    if (!reply || reply->size() != 5U + 2U * count || (*reply)[1] != 0x03) return words;
    for (std::size_t i = 0; i < count; ++i) {
        words.push_back(static_cast<std::uint16_t>((*reply)[3 + 2 * i] << 8 | (*reply)[4 + 2 * i]));
    }
    return words;
}

struct MapCase {
    const char* name;
    std::vector<const char*> setup;
    std::uint16_t start;
    std::vector<std::uint16_t> words;
};

const std::vector<MapCase> kMapCases = {
    // Format 1 swaps the two registers of every float.
    {"floats_low_word_first",
     {"QQS#DFOT0:11111#"},
     0,
     {0x0000, 0x4140, 0x0000, 0x4148, 0x0000, 0x41A8, 0x0000, 0x3FC0, 0x0000, 0x4248}},
    // Unsigned formats round to whole numbers: 12.5 -> 13, 21, 2 (1.5), 50.
    {"unsigned_high_and_low_word_first",
     {"QQS#DFOT0:02323#"},
     2,
     {0x0000, 0x000D, 0x0015, 0x0000, 0x0000, 0x0002, 0x0032, 0x0000}},
    // Absolute value, low word first.
    {"absolute_value", {"QQS#DFOT0:00444#"}, 4, {0x0000, 0x41A8, 0x0000, 0x3FC0, 0x0000, 0x4248}},
    // Variable 1 from m3/s to m3/h: 12.5 * 3600 = 45000 = 472FC800.
    {"variable1_per_hour", {"QQS#FMW:1,0.001#"}, 2, {0x472F, 0xC800}},
    // Coefficient times 100: 12.5 * 0.02 * 100 = 25 = 41C80000.
    {"variable1_coefficient_times_100", {"QQS#FMW:3,0.020#"}, 2, {0x41C8, 0x0000}},
    // Variables 2-4 scaled: 21 * 2 = 42 (42280000), 1.5 * 0.5 = 0.75 (3F400000), 50 * 1 (42480000).
    {"coefficients_2_to_4",
     {"QQS#FMU:2.000,0.500,1.000#"},
     4,
     {0x4228, 0x0000, 0x3F40, 0x0000, 0x4248, 0x0000}},
    {"disabled_slot_reads_zero", {"QQS#HART0:0,1,01,5,060#"}, 0, {0, 0, 0, 0}},
    {"slot_without_instrument_reads_zero", {"QQS#HART1:1,1,01,5,060#"}, 10, {0, 0, 0, 0}},
};

TEST(ModbusSlave, RegisterMapFormatsAndScaling) {
    for (const auto& c : kMapCases) {
        SCOPED_TRACE(c.name);
        Module module;
        for (const char* command : c.setup)
            ASSERT_EQ(module.handle(toBytes(command), 0.0).reply->at(0), 'O');
        EXPECT_EQ(readRegisters(module, c.start, static_cast<std::uint16_t>(c.words.size())),
                  c.words);
    }
}

TEST(ModbusSlave, SlotFollowsTheInstrumentsPollingAddress) {
    Module module;
    ASSERT_EQ(toText(*module.handle(toBytes("QQS#HART2:1,1,01,5,060#"), 0.0).reply), "OK HART");
    module.instrument().setPollingAddress(2);
    EXPECT_EQ(readRegisters(module, 0, 2), (std::vector<std::uint16_t>{0, 0}));
    EXPECT_EQ(readRegisters(module, 20, 4),
              (std::vector<std::uint16_t>{0x4140, 0x0000, 0x4148, 0x0000}));
}

}  // namespace
}  // namespace kt730sim
