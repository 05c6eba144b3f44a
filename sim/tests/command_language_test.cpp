// The module's command language: every set command and the query reply field
// where the configuration tool reads it back, refused commands, and the reply
// layouts the tool's parses depend on.
#include "command_language.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "test_support.hpp"

namespace kt730sim {
namespace {

using test::fieldAt;
using test::findMarker;
using test::textThenBytes;

// Instrument values at the centre of their drift (time 0).
const ProcessValues kLive = processValuesAt(0.0);

std::string run(ModuleState& state, const Bytes& request) {
    return runCommand(request, state, kLive);
}
std::string run(ModuleState& state, std::string_view request) {
    return run(state, toBytes(request));
}

struct Field {
    std::size_t offset;
    std::string text;
};

struct SetCase {
    const char* name;
    Bytes command;
    std::string ack;
    std::string query;
    std::string marker;  // "?" matches any one character
    std::vector<Field> fields;
};

// Positions relative to each marker's first character, as the tool reads them.
const std::vector<SetCase> kSetCases = {
    {"rs485a_19200_even",
     toBytes("QQS#BA1:42#"),
     "OK BA1",
     "QQQ#QX#",
     "BA1:",
     {{4, "4"}, {5, "2"}}},
    {"rs485b_115200_odd",
     toBytes("QQS#BA2:71#"),
     "OK BA2",
     "QQQ#QX#",
     "BA2:",
     {{4, "7"}, {5, "1"}}},
    {"slave_address", toBytes("QQS#ADR:005#"), "OK ADR", "QQQ#QX#", "ADR:", {{4, "005"}}},
    {"mode_monitoring", toBytes("QQS#MD:3#"), "OK MD", "QQQ#QX#", "MD:", {{3, "3"}}},
    {"response_time_a", toBytes("QQS#XY1:2#"), "OK XY1", "QQQ#QX#", "XY1:", {{4, "2"}}},
    {"response_time_b", toBytes("QQS#XY2:5#"), "OK XY2", "QQQ#QX#", "XY2:", {{4, "5"}}},
    {"polling_interval", toBytes("QQS#JTM:150#"), "OK JTM", "QQQ#QX#", "JTM:", {{4, "150"}}},
    {"base_address_a",
     toBytes("QQS#AADR:40001#"),
     "OK AADR",
     "QQQ#QX#",
     "AADR",
     {{5, "40001"}, {11, "00000"}}},
    {"base_address_b",
     toBytes("QQS#BADR:12345#"),
     "OK BADR",
     "QQQ#QX#",
     "AADR",
     {{5, "00000"}, {11, "12345"}}},
    {"device_parameters",
     toBytes("QQS#HART0:1,1,12,5,060#"),
     "OK HART",
     "QQQ#QQ0#",
     "HART?:",
     {{6, "1"}, {8, "1"}, {10, "12"}, {13, "5"}, {15, "060"}}},
    {"device_parameters_slot4",
     toBytes("QQS#HART4:0,0,19,9,999#"),
     "OK HART",
     "QQQ#QQ4#",
     "HART?:",
     {{6, "0"}, {8, "0"}, {10, "19"}, {13, "9"}, {15, "999"}}},
    {"value_formats",
     toBytes("QQS#DFOT2:13424#"),
     "OK DFOT",
     "QQQ#QQ2#",
     "DFO?:",
     {{5, "1"}, {6, "3"}, {7, "4"}, {8, "2"}, {9, "4"}}},
    {"parse_format",
     toBytes("QQS#MDBS1:8,1051,2090,2130,2170#"),
     "OK MDBS",
     "QQQ#QQ1#",
     "ZDY?:",
     {{5, "8"},
      {7, "1"},
      {8, "05"},
      {10, "1"},
      {12, "2"},
      {13, "09"},
      {15, "0"},
      {22, "2"},
      {23, "17"},
      {25, "0"}}},
    {"variable1_coefficient",
     toBytes("QQS#FMW:2,0.001#"),
     "OK FMW",
     "QQQ#QQ0#",
     "FMW:",
     {{4, "2"}, {6, "0.001"}}},
    {"coefficients_2_to_4",
     toBytes("QQS#FMU:2.500,1.000,0.010#"),
     "OK FMU",
     "QQQ#QQ0#",
     "FMU:",
     {{4, "2.500"}, {10, "1.000"}, {16, "0.010"}}},
    {"read_command_1",
     textThenBytes("QQS#CAMD01:1<03,", {0x02, 0x0A, 0x1F}),
     "OK CAMD",
     "QQQ#QQ0#",
     "CAMD?1:",
     {{7, "1"}, {9, "03"}, {12, "02 0A 1F"}}},
    {"read_command_2_with_zero_bytes",
     textThenBytes("QQS#CAMD32:0<06,", {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}),
     "OK CAMD",
     "QQQ#QQ3#",
     "CAMD?2:",
     {{7, "0"}, {9, "06"}, {12, "01 03 00 00 00 0A"}}},
    {"read_command_bytes_that_look_like_text",
     textThenBytes("QQS#CAMD02:1<03,", {'#', 'Q', 'Q'}),
     "OK CAMD",
     "QQQ#QQ0#",
     "CAMD?2:",
     {{7, "1"}, {9, "03"}, {12, "23 51 51"}}},
    {"monitoring_row_1",
     textThenBytes("QQS#WCAD01:1<08,", {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}),
     "OK WCAD",
     "QQQ#RCAD01#",
     "RCAD1:",
     {{6, "1"}, {8, "08"}, {11, "01 03 00 00 00 0A C5 CD"}}},
    {"cyclic_row_6_fourteen_bytes",
     textThenBytes("QQS#WCAD06:0<14,", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0xFF}),
     "OK WCAD",
     "QQQ#RCAD06#",
     "RCAD6:",
     {{6, "0"}, {8, "14"}, {11, "00 01 02 03 04 05 06 07 08 09 0A 0B 0C FF"}}},
    {"output_a",
     toBytes("KVRTNB#IA01:3,00812,04061#"),
     "OK IA01",
     "QQQ#QX2#",
     "IA01:",
     {{5, "3"}, {7, "00812"}, {13, "04061"}}},
    {"output_b_short_values_padded",
     toBytes("KVRTNB#IB01:2,800,4000#"),
     "OK IB01",
     "QQQ#QX2#",
     "IB01:",
     {{5, "2"}, {7, "00800"}, {13, "04000"}}},
};

TEST(CommandLanguage, SetCommandIsAcknowledgedAndReadBack) {
    for (const auto& c : kSetCases) {
        SCOPED_TRACE(c.name);
        ModuleState state = defaultModuleState();
        EXPECT_EQ(run(state, c.command), c.ack);
        const std::string reply = run(state, c.query);
        ASSERT_TRUE(findMarker(reply, c.marker)) << reply;
        for (const auto& f : c.fields) {
            EXPECT_EQ(fieldAt(reply, c.marker, f.offset, f.text.size()), f.text)
                << "offset " << f.offset << " in " << reply;
        }
    }
}

struct StateCase {
    const char* name;
    std::string command;
    std::string ack;
    std::function<bool(const ModuleState&)> holds;
};

// Commands whose effect the query replies do not show, or show only in part.
const std::vector<StateCase> kStateCases = {
    {"production_data", "KVRTNB#PCBSN:00000123,007#", "OK PCBSN",
     [](const ModuleState& s) { return s.pcbSerial == 123 && s.inspector == 7; }},
    {"production_data_nine_digits", "KVRTNB#PCBSN:123456789,101#", "OK PCBSN",
     [](const ModuleState& s) { return s.pcbSerial == 123456789 && s.inspector == 101; }},
    {"hidden_command", "QQS#YB:1#", "OK YB",
     [](const ModuleState& s) { return s == defaultModuleState(); }},
    {"disable_slot0", "QQS#HART0:0,1,01,5,060#", "OK HART",
     [](const ModuleState& s) { return !s.slots[0].enabled; }},
    {"line_end_from_a_terminal", "QQS#MD:2#\r\n", "OK MD",
     [](const ModuleState& s) { return s.operationMode == 2; }},
    {"empty_read_command", "QQS#CAMD01:1<00,", "OK CAMD",
     [](const ModuleState& s) {
         return s.slots[0].readCommands[0].enabled && s.slots[0].readCommands[0].bytes.empty();
     }},
};

TEST(CommandLanguage, SetCommandChangesState) {
    for (const auto& c : kStateCases) {
        SCOPED_TRACE(c.name);
        ModuleState state = defaultModuleState();
        EXPECT_EQ(run(state, c.command), c.ack);
        EXPECT_TRUE(c.holds(state));
    }
}

// Each of these must be refused with "ERR" and leave the state untouched.
// Several are what the tool sends when a list has no item selected ("/").
const std::vector<Bytes> kRefused = {
    toBytes("QQS#BA1:80#"),   // baud code 8
    toBytes("QQS#BA1:43#"),   // parity code 3
    toBytes("QQS#BA1:4#"),    // parity missing
    toBytes("QQS#BA1:42"),    // closing "#" missing
    toBytes("QQS#BA1:42#X"),  // trailing garbage
    toBytes("QQS#BA2:/0#"),   // no baud selected
    toBytes("QQS#MD:/#"),     // no mode selected
    toBytes("QQS#MD:5#"),
    toBytes("QQS#ADR:000#"),  // broadcast address
    toBytes("QQS#ADR:248#"),
    toBytes("QQS#ADR:00+#"),  // the tool's text of -5
    toBytes("QQS#ADR:5#"),
    toBytes("QQS#XY1:6#"),
    toBytes("QQS#JTM::00#"),  // the tool's text of 1000
    toBytes("QQS#AADR:65536#"),
    toBytes("QQS#BADR:1234#"),
    toBytes("QQS#HART0:/,/,00,4,060#"),
    toBytes("QQS#HART0:1,1,0/,3,060#"),
    toBytes("QQS#HART0:1,1,20,5,060#"),  // meter type 20
    toBytes("QQS#HART5:1,1,01,5,060#"),  // slot 5
    toBytes("QQS#HART/:1,1,01,5,060#"),
    toBytes("QQS#HART0:1,1,01,5,:00#"),
    toBytes("QQS#DFOT0://///#"),
    toBytes("QQS#DFOT0:20000#"),  // loop current has no unsigned format
    toBytes("QQS#DFOT0:04000#"),  // variable 1 has no absolute format
    toBytes("QQS#DFOT0:00005#"),
    toBytes("QQS#DFOT0:0000#"),
    textThenBytes("QQS#CAMD01:1<03,", {0x01, 0x02}),        // fewer bytes than counted
    textThenBytes("QQS#CAMD01:1<02,", {0x01, 0x02, 0x03}),  // more bytes than counted
    textThenBytes("QQS#CAMD03:1<01,", {0x01}),              // read command 3
    textThenBytes("QQS#CAMD01:/<01,", {0x01}),
    textThenBytes("QQS#CAMD01:1<15,", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}),
    textThenBytes("QQS#CAMD01:1<0A,", {1}),
    toBytes("QQS#MDBS1:2,1051,2090,2130,2170#"),  // address bits "2": nothing selected
    toBytes("QQS#MDBS1:8,3051,2090,2130,2170#"),  // read command 3
    toBytes("QQS#MDBS1:8,1051,2090,2130,217/#"),
    toBytes("QQS#MDBS1:8,1<51,2090,2130,2170#"),  // the tool's text of address 120
    toBytes("QQS#MDBS1:8,1051,2090,2130#"),
    toBytes("QQS#FMW:/,0.001#"),
    toBytes("QQS#FMW:4,0.001#"),
    toBytes("QQS#FMW:2,abcde#"),
    toBytes("QQS#FMW:2,0.01#"),
    toBytes("QQS#FMW:2,1..00#"),
    toBytes("QQS#FMU:1.000,1.000#"),
    toBytes("QQS#FMU:1.000,1.000,1.0000#"),
    textThenBytes("QQS#WCAD07:1<01,", {0xAB}),  // row 7
    textThenBytes("QQS#WCAD00:1<01,", {0xAB}),
    textThenBytes("QQS#WCAD01:2<01,", {0xAB}),
    textThenBytes("QQS#WCAD01:1<02,", {0xAB}),
    toBytes("KVRTNB#IA01:-1,IA4MA,IA20MA#"),  // the tool's start state
    toBytes("KVRTNB#IB01:5,00800,04000#"),
    toBytes("KVRTNB#IA01:2,,#"),
    toBytes("KVRTNB#IA01:2,008000,04000#"),
    toBytes("KVRTNB#PCBSN:123,007#"),  // fewer than eight digits
    toBytes("KVRTNB#PCBSN:-0000123,007#"),
    toBytes("KVRTNB#PCBSN:00000123,7#"),
    toBytes("KVRTNB#PCBSN:99999999999,007#"),
    toBytes("KVRTNB#XX#"),
    toBytes("QQS#RESET"),
    toBytes("QQS#YB:1"),
    toBytes("QQS#NOPE#"),
    toBytes("QQS#"),
    toBytes("QQQ#QQ5#"),
    toBytes("QQQ#QQ/#"),
    toBytes("QQQ#QQ0"),
    toBytes("QQQ#RCAD07#"),
    toBytes("QQQ#RCAD1#"),
    toBytes("QQQ#QV"),
    toBytes("QQQ#QX4#"),
    toBytes("QQQ#"),
};

TEST(CommandLanguage, MalformedCommandIsRefusedAndChangesNothing) {
    for (const auto& command : kRefused) {
        SCOPED_TRACE(toText(command));
        ModuleState state = defaultModuleState();
        state.slots[2].readCommands[1] =
            ReadCommand{true, {0x01}};  // something non-default to keep
        const ModuleState before = state;
        EXPECT_EQ(run(state, command), "ERR");
        EXPECT_EQ(state, before);
    }
}

TEST(CommandLanguage, ResetRestoresSettingsButKeepsFactoryData) {
    ModuleState state = defaultModuleState();
    for (const char* command : {"QQS#BA1:71#", "QQS#ADR:017#", "QQS#MD:2#",
                                "QQS#HART3:1,0,07,8,120#", "QQS#FMU:2.000,3.000,4.000#",
                                "KVRTNB#PCBSN:00004711,003#", "KVRTNB#IB01:4,00810,04020#"}) {
        ASSERT_EQ(run(state, command).substr(0, 2), "OK") << command;
    }
    ASSERT_EQ(run(state, textThenBytes("QQS#WCAD02:1<01,", {0x42})), "OK WCAD");

    EXPECT_EQ(run(state, "QQS#RESET#"), "OK RESET");

    ModuleState expected = defaultModuleState();
    expected.pcbSerial = 4711;
    expected.inspector = 3;
    expected.outputs[1] = CurrentOutput{4, 810, 4020};
    EXPECT_EQ(state, expected);
}

// The tool reads the first occurrence of each marker; every marker must be
// present, ADR: must come before AADR, and each digit field must be a digit.
TEST(QueryReplies, SystemReplyFieldsOfTheDefaultState) {
    ModuleState state = defaultModuleState();
    const std::string reply = run(state, "QQQ#QX#");
    ASSERT_LE(reply.size(), kMaxReplyText);
    EXPECT_TRUE(findMarker(reply, "QX"));
    const auto adr = findMarker(reply, "ADR:");
    const auto aadr = findMarker(reply, "AADR");
    ASSERT_TRUE(adr && aadr);
    EXPECT_LT(*adr, *aadr);
    const std::pair<const char*, std::pair<std::size_t, const char*>> expected[] = {
        {"BA1:", {4, "30"}},  {"BA2:", {4, "30"}},    {"MD:", {3, "0"}},
        {"ADR:", {4, "001"}}, {"XY1:", {4, "3"}},     {"XY2:", {4, "3"}},
        {"JTM:", {4, "050"}}, {"AADR", {5, "00000"}}, {"AADR", {11, "00000"}},
    };
    for (const auto& [marker, field] : expected) {
        EXPECT_EQ(fieldAt(reply, marker, field.first, std::string_view(field.second).size()),
                  field.second)
            << marker;
    }
}

TEST(QueryReplies, ConnectionCheckHoldsQV) {
    ModuleState state = defaultModuleState();
    EXPECT_TRUE(findMarker(run(state, "QQQ#QV#"), "QV:"));
}

// Every digit position of the device reply that the tool converts.
TEST(QueryReplies, DeviceReplyDigitsOfEverySlot) {
    struct DigitField {
        const char* marker;
        std::size_t offset;
    };
    const DigitField digitFields[] = {
        {"FMW:", 4},    {"HART?:", 6},   {"HART?:", 8},  {"HART?:", 10}, {"HART?:", 11},
        {"HART?:", 13}, {"DFO?:", 5},    {"DFO?:", 9},   {"ZDY?:", 5},   {"ZDY?:", 7},
        {"ZDY?:", 10},  {"ZDY?:", 22},   {"ZDY?:", 25},  {"MD:", 3},     {"CAMD?1:", 7},
        {"CAMD?1:", 9}, {"CAMD?1:", 10}, {"CAMD?2:", 7}, {"CAMD?2:", 9}, {"CAMD?2:", 10},
    };
    ModuleState state = defaultModuleState();
    for (int n = 0; n < kDeviceSlots; ++n) {
        const std::string reply = run(state, "QQQ#QQ" + std::to_string(n) + "#");
        SCOPED_TRACE(reply);
        EXPECT_TRUE(findMarker(reply, "QQ"));
        for (const auto& f : digitFields) {
            const auto c = fieldAt(reply, f.marker, f.offset, 1);
            ASSERT_TRUE(c) << f.marker << " " << f.offset;
            EXPECT_TRUE((*c)[0] >= '0' && (*c)[0] <= '9') << f.marker << " " << f.offset;
        }
        // Default slot parameters: slot 0 enabled, master, universal meter, 5 preambles, 60 s.
        EXPECT_EQ(fieldAt(reply, "HART?:", 6, 12), n == 0 ? "1,1,01,5,060" : "0,1,01,5,060");
        // The slot's own digit stands at the wildcard places.
        EXPECT_EQ(fieldAt(reply, "HART?:", 4, 1), std::to_string(n));
        EXPECT_EQ(fieldAt(reply, "CAMD?1:", 4, 1), std::to_string(n));
    }
}

TEST(QueryReplies, FullestDeviceReplyFitsTheToolsReplyText) {
    ModuleState state = defaultModuleState();
    const std::initializer_list<std::uint8_t> fourteen = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x00,
                                                          0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    ASSERT_EQ(run(state, textThenBytes("QQS#CAMD41:1<14,", fourteen)), "OK CAMD");
    ASSERT_EQ(run(state, textThenBytes("QQS#CAMD42:1<14,", fourteen)), "OK CAMD");
    const std::string reply = run(state, "QQQ#QQ4#");
    EXPECT_LE(reply.size(), kMaxReplyText);
    EXPECT_EQ(fieldAt(reply, "CAMD?2:", 12, 41), "AA BB CC DD EE FF 00 11 22 33 44 55 66 77");
}

TEST(QueryReplies, EmptyCommandStringReadsBackWithCountZero) {
    ModuleState state = defaultModuleState();
    const std::string reply = run(state, "QQQ#RCAD03#");
    EXPECT_EQ(fieldAt(reply, "RCAD3:", 6, 1), "0");
    EXPECT_EQ(fieldAt(reply, "RCAD3:", 8, 2), "00");
}

// Output current = 4 mA + 16 mA * share of the variable's range; at time 0:
// variable 1 12.5 of 0-25 m3/h, variable 2 21 of 0-100 degC,
// variable 3 1.5 of 0-10 bar, variable 4 50 of 0-100 %.
TEST(QueryReplies, PresentOutputValuesFollowTheirChannel) {
    struct Case {
        const char* setA;
        const char* setB;
        const char* aval;
        const char* bval;
    };
    const Case cases[] = {
        {nullptr, nullptr, "12.000000", "0.0000000"},  // defaults: A on variable 1, B off
        {"KVRTNB#IA01:2,00800,04000#", "KVRTNB#IB01:3,00800,04000#", "7.3600000", "6.4000000"},
        {"KVRTNB#IA01:0,00800,04000#", "KVRTNB#IB01:4,00800,04000#", "0.0000000", "12.000000"},
    };
    for (const auto& c : cases) {
        ModuleState state = defaultModuleState();
        if (c.setA) {
            ASSERT_EQ(run(state, c.setA), "OK IA01");
        }
        if (c.setB) {
            ASSERT_EQ(run(state, c.setB), "OK IB01");
        }
        const std::string reply = run(state, "QQQ#QX3#");
        SCOPED_TRACE(reply);
        EXPECT_TRUE(findMarker(reply, "QX3"));
        EXPECT_EQ(fieldAt(reply, "AVAL:", 5, 9), c.aval);
        EXPECT_EQ(fieldAt(reply, "BVAL:", 5, 9), c.bval);
    }
}

TEST(QueryReplies, OutputSettingsReplyHoldsQX2AndBothOutputs) {
    ModuleState state = defaultModuleState();
    const std::string reply = run(state, "QQQ#QX2#");
    EXPECT_TRUE(findMarker(reply, "QX2"));
    EXPECT_EQ(fieldAt(reply, "IA01:", 5, 1), "1");
    EXPECT_EQ(fieldAt(reply, "IB01:", 5, 1), "0");
}

// An acknowledgement must not look like a query reply to a parse that is
// still pending in the tool (factory commands leave the last query pending).
TEST(QueryReplies, AcknowledgementsCarryNoQueryMarkers) {
    ModuleState state = defaultModuleState();
    for (const char* command :
         {"KVRTNB#PCBSN:00000123,007#", "KVRTNB#IA01:1,00800,04000#", "QQS#MD:0#", "QQS#X#"}) {
        const std::string reply = run(state, command);
        for (const char* marker : {"QX", "QQ", "QV:", "RCAD?:", "IA01:", "IB01:", "AVAL:"}) {
            EXPECT_FALSE(findMarker(reply, marker)) << command << " -> " << reply;
        }
    }
}

}  // namespace
}  // namespace kt730sim
