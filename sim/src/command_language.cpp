#include "command_language.hpp"

#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

#include "register_map.hpp"

namespace kt730sim {

namespace {

constexpr std::string_view kQueryPrefix = "QQQ#";
constexpr std::string_view kSetPrefix = "QQS#";
constexpr std::string_view kFactoryPrefix = "KVRTNB#";
constexpr int kMaxSlaveAddress = 247;
constexpr int kMaxBaseAddress = 65535;
constexpr long long kMaxSerial = 2147483647LL;
constexpr std::size_t kCoefficientWidth = 5;
constexpr std::size_t kOutputValueWidth = 9;

// Reads a command from left to right; every read fails once one has failed.
class Cursor {
  public:
    explicit Cursor(ByteView bytes) : bytes_(bytes) {}

    bool literal(std::string_view text) {
        if (bytes_.size() - pos_ < text.size()) return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (bytes_[pos_ + i] != static_cast<std::uint8_t>(text[i])) return false;
        }
        pos_ += text.size();
        return true;
    }

    // One decimal digit within [low, high].
    std::optional<int> digit(int low, int high) {
        if (pos_ >= bytes_.size()) return std::nullopt;
        const int c = bytes_[pos_];
        if (c < '0' || c > '9') return std::nullopt;
        const int value = c - '0';
        if (value < low || value > high) return std::nullopt;
        ++pos_;
        return value;
    }

    // Between minDigits and maxDigits decimal digits as one number.
    std::optional<long long> number(std::size_t minDigits, std::size_t maxDigits) {
        long long value = 0;
        std::size_t n = 0;
        while (n < maxDigits && pos_ + n < bytes_.size() && bytes_[pos_ + n] >= '0' &&
               bytes_[pos_ + n] <= '9') {
            value = value * 10 + (bytes_[pos_ + n] - '0');
            ++n;
        }
        if (n < minDigits) return std::nullopt;
        pos_ += n;
        return value;
    }

    std::optional<int> fixedNumber(std::size_t width, long long low, long long high) {
        const std::size_t before = pos_;
        const auto v = number(width, width);
        if (!v || *v < low || *v > high) {
            pos_ = before;
            return std::nullopt;
        }
        return static_cast<int>(*v);
    }

    std::optional<std::string> chars(std::size_t n) {
        if (bytes_.size() - pos_ < n) return std::nullopt;
        std::string s(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                      bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
        pos_ += n;
        return s;
    }

    std::optional<Bytes> raw(std::size_t n) {
        if (bytes_.size() - pos_ < n) return std::nullopt;
        Bytes b(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
        pos_ += n;
        return b;
    }

    // Nothing left but a line end that a terminal may have added.
    bool atEnd() const {
        for (std::size_t i = pos_; i < bytes_.size(); ++i) {
            if (bytes_[i] != '\r' && bytes_[i] != '\n') return false;
        }
        return true;
    }

  private:
    ByteView bytes_;
    std::size_t pos_ = 0;
};

std::string digits(long long value, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, value);
    return buf;
}

std::string hexPairs(const Bytes& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) s += ' ';
        s += kHex[bytes[i] >> 4];
        s += kHex[bytes[i] & 0x0F];
    }
    return s;
}

// "1.000", "0.001": five characters, digits and at most one point.
bool isCoefficient(const std::string& text) {
    if (text.size() != kCoefficientWidth) return false;
    int points = 0;
    int digitsSeen = 0;
    for (char c : text) {
        if (c == '.') {
            ++points;
        } else if (c >= '0' && c <= '9') {
            ++digitsSeen;
        } else {
            return false;
        }
    }
    return points <= 1 && digitsSeen > 0;
}

// Nine characters of a present output value: "12.000000", "4.0000000".
std::string outputValueText(double mA) {
    char buf[32];
    const int integerDigits = mA >= 10.0 ? 2 : 1;
    const int decimals = static_cast<int>(kOutputValueWidth) - integerDigits - 1;
    std::snprintf(buf, sizeof buf, "%.*f", decimals, mA);
    return std::string(buf).substr(0, kOutputValueWidth);
}

using Reply = std::optional<std::string>;
using Handler = Reply (*)(Cursor&, ModuleState&, const ProcessValues&);

struct CommandEntry {
    std::string_view head;     // prefix and keyword as they open the command
    std::string_view keyword;  // named in the acknowledgement; empty for queries
    Handler run;
};

std::string ack(std::string_view keyword) { return "OK " + std::string(keyword); }

// ----- queries

Reply queryVersion(Cursor&, ModuleState&, const ProcessValues&) { return connectionReply(); }
Reply querySystem(Cursor&, ModuleState& s, const ProcessValues&) { return systemReply(s); }
Reply queryOutputs(Cursor&, ModuleState& s, const ProcessValues&) { return outputSettingsReply(s); }
Reply queryOutputValues(Cursor&, ModuleState& s, const ProcessValues& live) {
    return outputValuesReply(s, live);
}

Reply queryDevice(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto n = c.digit(0, kDeviceSlots - 1);
    if (!n || !c.literal("#")) return std::nullopt;
    return deviceReply(s, *n);
}

Reply queryCommandString(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto row = c.digit(1, kCommandStrings);
    if (!row || !c.literal("#")) return std::nullopt;
    return commandStringReply(s, *row);
}

// ----- system settings

Reply setSerial(Cursor& c, SerialPortSettings& port) {
    const auto baud = c.digit(0, 7);
    const auto parity = c.digit(0, 2);
    if (!baud || !parity || !c.literal("#")) return std::nullopt;
    port.baudCode = *baud;
    port.parityCode = *parity;
    return "";
}
Reply setSerialA(Cursor& c, ModuleState& s, const ProcessValues&) { return setSerial(c, s.rs485a); }
Reply setSerialB(Cursor& c, ModuleState& s, const ProcessValues&) { return setSerial(c, s.rs485b); }

Reply setSlaveAddress(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto v = c.fixedNumber(3, 1, kMaxSlaveAddress);
    if (!v || !c.literal("#")) return std::nullopt;
    s.slaveAddress = *v;
    return "";
}

Reply setMode(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto v = c.digit(0, 4);
    if (!v || !c.literal("#")) return std::nullopt;
    s.operationMode = *v;
    return "";
}

Reply setResponseTime(Cursor& c, SerialPortSettings& port) {
    const auto v = c.digit(0, 5);
    if (!v || !c.literal("#")) return std::nullopt;
    port.responseTime = *v;
    return "";
}
Reply setResponseA(Cursor& c, ModuleState& s, const ProcessValues&) {
    return setResponseTime(c, s.rs485a);
}
Reply setResponseB(Cursor& c, ModuleState& s, const ProcessValues&) {
    return setResponseTime(c, s.rs485b);
}

Reply setPollingInterval(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto v = c.fixedNumber(3, 0, 999);
    if (!v || !c.literal("#")) return std::nullopt;
    s.pollingInterval = *v;
    return "";
}

Reply setBaseAddress(Cursor& c, SerialPortSettings& port) {
    const auto v = c.fixedNumber(5, 0, kMaxBaseAddress);
    if (!v || !c.literal("#")) return std::nullopt;
    port.baseAddress = *v;
    return "";
}
Reply setBaseA(Cursor& c, ModuleState& s, const ProcessValues&) {
    return setBaseAddress(c, s.rs485a);
}
Reply setBaseB(Cursor& c, ModuleState& s, const ProcessValues&) {
    return setBaseAddress(c, s.rs485b);
}

Reply reset(Cursor&, ModuleState& s, const ProcessValues&) {
    resetToDefaults(s);
    return "";
}

// The hidden command: acknowledged, nothing to keep.
Reply hidden(Cursor& c, ModuleState&, const ProcessValues&) {
    if (!c.digit(0, 9) || !c.literal("#")) return std::nullopt;
    return "";
}

Reply setProductionData(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto serial = c.number(8, 10);
    if (!serial || *serial > kMaxSerial || !c.literal(",")) return std::nullopt;
    const auto inspector = c.number(3, 3);
    if (!inspector || !c.literal("#")) return std::nullopt;
    s.pcbSerial = *serial;
    s.inspector = static_cast<int>(*inspector);
    return "";
}

// ----- device slots

Reply setDevice(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto n = c.digit(0, kDeviceSlots - 1);
    if (!n || !c.literal(":")) return std::nullopt;
    const auto enabled = c.digit(0, 1);
    if (!enabled || !c.literal(",")) return std::nullopt;
    const auto role = c.digit(0, 1);
    if (!role || !c.literal(",")) return std::nullopt;
    const auto type = c.fixedNumber(2, 0, 19);
    if (!type || !c.literal(",")) return std::nullopt;
    const auto preambles = c.digit(4, 9);
    if (!preambles || !c.literal(",")) return std::nullopt;
    const auto clearTime = c.fixedNumber(3, 0, 999);
    if (!clearTime || !c.literal("#")) return std::nullopt;
    DeviceSlot& slot = s.slots[static_cast<std::size_t>(*n)];
    slot.enabled = *enabled == 1;
    slot.masterRole = *role;
    slot.meterType = *type;
    slot.preambles = *preambles;
    slot.bufferClearTime = *clearTime;
    return "";
}

Reply setFormats(Cursor& c, ModuleState& s, const ProcessValues&) {
    // The loop current offers the float formats, variable 1 adds the unsigned
    // ones, variables 2-4 add the absolute value.
    static constexpr std::array<int, 5> kHighestFormat = {1, 3, 4, 4, 4};
    const auto n = c.digit(0, kDeviceSlots - 1);
    if (!n || !c.literal(":")) return std::nullopt;
    std::array<int, 5> formats{};
    for (std::size_t i = 0; i < formats.size(); ++i) {
        const auto f = c.digit(0, kHighestFormat[i]);
        if (!f) return std::nullopt;
        formats[i] = *f;
    }
    if (!c.literal("#")) return std::nullopt;
    s.slots[static_cast<std::size_t>(*n)].formats = formats;
    return "";
}

// Raw-byte tail shared by the read commands and the command strings:
// enable digit, "<", two-digit count, ",", then exactly that many bytes.
std::optional<std::pair<bool, Bytes>> rawTail(Cursor& c) {
    const auto enabled = c.digit(0, 1);
    if (!enabled || !c.literal("<")) return std::nullopt;
    const auto count = c.fixedNumber(2, 0, static_cast<long long>(kMaxRawBytes));
    if (!count || !c.literal(",")) return std::nullopt;
    auto bytes = c.raw(static_cast<std::size_t>(*count));
    if (!bytes) return std::nullopt;
    return std::pair{*enabled == 1, std::move(*bytes)};
}

Reply setReadCommand(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto n = c.digit(0, kDeviceSlots - 1);
    const auto which = c.digit(1, 2);
    if (!n || !which || !c.literal(":")) return std::nullopt;
    auto tail = rawTail(c);
    if (!tail) return std::nullopt;
    ReadCommand& rc =
        s.slots[static_cast<std::size_t>(*n)].readCommands[static_cast<std::size_t>(*which - 1)];
    rc.enabled = tail->first;
    rc.bytes = std::move(tail->second);
    return "";
}

Reply setParseFormat(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto n = c.digit(0, kDeviceSlots - 1);
    if (!n || !c.literal(":")) return std::nullopt;
    const auto bits = c.digit(3, 9);
    if (!bits) return std::nullopt;
    std::array<ParseField, 4> fields{};
    for (ParseField& f : fields) {
        if (!c.literal(",")) return std::nullopt;
        const auto command = c.digit(0, 2);
        const auto address = c.fixedNumber(2, 0, 99);
        const auto length = c.digit(0, 1);
        if (!command || !address || !length) return std::nullopt;
        f = ParseField{*command, *address, *length};
    }
    if (!c.literal("#")) return std::nullopt;
    DeviceSlot& slot = s.slots[static_cast<std::size_t>(*n)];
    slot.addressBits = *bits;
    slot.parse = fields;
    return "";
}

Reply setVariable1Coefficient(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto mode = c.digit(0, 3);
    if (!mode || !c.literal(",")) return std::nullopt;
    const auto coefficient = c.chars(kCoefficientWidth);
    if (!coefficient || !isCoefficient(*coefficient) || !c.literal("#")) return std::nullopt;
    s.variable1Mode = *mode;
    s.variable1Coefficient = *coefficient;
    return "";
}

Reply setCoefficients(Cursor& c, ModuleState& s, const ProcessValues&) {
    std::array<std::string, 3> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0 && !c.literal(",")) return std::nullopt;
        auto v = c.chars(kCoefficientWidth);
        if (!v || !isCoefficient(*v)) return std::nullopt;
        values[i] = std::move(*v);
    }
    if (!c.literal("#")) return std::nullopt;
    s.coefficients = values;
    return "";
}

// ----- monitoring and cyclic read command strings

Reply setCommandString(Cursor& c, ModuleState& s, const ProcessValues&) {
    const auto row = c.digit(1, kCommandStrings);
    if (!row || !c.literal(":")) return std::nullopt;
    auto tail = rawTail(c);
    if (!tail) return std::nullopt;
    CommandString& cs = s.commandStrings[static_cast<std::size_t>(*row - 1)];
    cs.enabled = tail->first;
    cs.bytes = std::move(tail->second);
    return "";
}

// ----- current outputs

Reply setOutput(Cursor& c, CurrentOutput& out) {
    const auto channel = c.digit(0, 4);
    if (!channel || !c.literal(",")) return std::nullopt;
    const auto cal4 = c.number(1, 5);
    if (!cal4 || !c.literal(",")) return std::nullopt;
    const auto cal20 = c.number(1, 5);
    if (!cal20 || !c.literal("#")) return std::nullopt;
    out.channel = *channel;
    out.cal4mA = static_cast<int>(*cal4);
    out.cal20mA = static_cast<int>(*cal20);
    return "";
}
Reply setOutputA(Cursor& c, ModuleState& s, const ProcessValues&) {
    return setOutput(c, s.outputs[0]);
}
Reply setOutputB(Cursor& c, ModuleState& s, const ProcessValues&) {
    return setOutput(c, s.outputs[1]);
}

// No head is the beginning of another, so the order does not matter.
constexpr CommandEntry kCommands[] = {
    {"QQQ#QV#", "", queryVersion},
    {"QQQ#QX#", "", querySystem},
    {"QQQ#QX2#", "", queryOutputs},
    {"QQQ#QX3#", "", queryOutputValues},
    {"QQQ#QQ", "", queryDevice},
    {"QQQ#RCAD0", "", queryCommandString},
    {"QQS#BA1:", "BA1", setSerialA},
    {"QQS#BA2:", "BA2", setSerialB},
    {"QQS#ADR:", "ADR", setSlaveAddress},
    {"QQS#MD:", "MD", setMode},
    {"QQS#XY1:", "XY1", setResponseA},
    {"QQS#XY2:", "XY2", setResponseB},
    {"QQS#JTM:", "JTM", setPollingInterval},
    {"QQS#AADR:", "AADR", setBaseA},
    {"QQS#BADR:", "BADR", setBaseB},
    {"QQS#RESET#", "RESET", reset},
    {"QQS#YB:", "YB", hidden},
    {"QQS#HART", "HART", setDevice},
    {"QQS#DFOT", "DFOT", setFormats},
    {"QQS#CAMD", "CAMD", setReadCommand},
    {"QQS#MDBS", "MDBS", setParseFormat},
    {"QQS#FMW:", "FMW", setVariable1Coefficient},
    {"QQS#FMU:", "FMU", setCoefficients},
    {"QQS#WCAD0", "WCAD", setCommandString},
    {"KVRTNB#PCBSN:", "PCBSN", setProductionData},
    {"KVRTNB#IA01:", "IA01", setOutputA},
    {"KVRTNB#IB01:", "IB01", setOutputB},
};

}  // namespace

bool isCommandText(ByteView request) {
    const std::string_view text(reinterpret_cast<const char*>(request.data()), request.size());
    return text.starts_with(kQueryPrefix) || text.starts_with(kSetPrefix) ||
           text.starts_with(kFactoryPrefix);
}

std::string runCommand(ByteView request, ModuleState& state, const ProcessValues& live) {
    for (const CommandEntry& entry : kCommands) {
        Cursor cursor(request);
        if (!cursor.literal(entry.head)) continue;
        // Work on a copy so that a refused command leaves nothing behind.
        ModuleState scratch = state;
        const Reply reply = entry.run(cursor, scratch, live);
        if (!reply || !cursor.atEnd()) return std::string(kErrorReply);
        state = std::move(scratch);
        return entry.keyword.empty() ? *reply : ack(entry.keyword);
    }
    return std::string(kErrorReply);
}

std::string connectionReply() { return "QV:KT730-T-B-2,V1.00"; }

std::string systemReply(const ModuleState& s) {
    // "ADR:" must come before "AADR": a reader looks for the first "ADR:".
    std::string r = "QX:";
    r += "BA1:" + std::to_string(s.rs485a.baudCode) + std::to_string(s.rs485a.parityCode);
    r += ",BA2:" + std::to_string(s.rs485b.baudCode) + std::to_string(s.rs485b.parityCode);
    r += ",MD:" + std::to_string(s.operationMode);
    r += ",ADR:" + digits(s.slaveAddress, 3);
    r += ",XY1:" + std::to_string(s.rs485a.responseTime);
    r += ",XY2:" + std::to_string(s.rs485b.responseTime);
    r += ",JTM:" + digits(s.pollingInterval, 3);
    r += ",AADR:" + digits(s.rs485a.baseAddress, 5) + "," + digits(s.rs485b.baseAddress, 5);
    r += ",SN:" + digits(s.pcbSerial, 8) + ",JZ:" + digits(s.inspector, 3);
    return r;
}

std::string deviceReply(const ModuleState& s, int n) {
    const DeviceSlot& slot = s.slots[static_cast<std::size_t>(n)];
    const std::string dev = std::to_string(n);
    std::string r = "QQ" + dev + ":";
    r += "FMW:" + std::to_string(s.variable1Mode) + "," + s.variable1Coefficient;
    r += ";FMU:" + s.coefficients[0] + "," + s.coefficients[1] + "," + s.coefficients[2];
    r += ";HART" + dev + ":" + std::to_string(slot.enabled ? 1 : 0) + "," +
         std::to_string(slot.masterRole) + "," + digits(slot.meterType, 2) + "," +
         std::to_string(slot.preambles) + "," + digits(slot.bufferClearTime, 3);
    r += ";DFO" + dev + ":";
    for (int f : slot.formats) r += std::to_string(f);
    r += ";ZDY" + dev + ":" + std::to_string(slot.addressBits);
    for (const ParseField& f : slot.parse) {
        r += "," + std::to_string(f.readCommand) + digits(f.startAddress, 2) +
             std::to_string(f.length);
    }
    r += ";MD:" + std::to_string(s.operationMode);
    for (std::size_t k = 0; k < slot.readCommands.size(); ++k) {
        const ReadCommand& rc = slot.readCommands[k];
        r += ";CAMD" + dev + std::to_string(k + 1) + ":" + (rc.enabled ? "1" : "0") + "<" +
             digits(static_cast<long long>(rc.bytes.size()), 2) + "," + hexPairs(rc.bytes);
    }
    return r;
}

std::string outputSettingsReply(const ModuleState& s) {
    std::string r = "QX2:";
    static constexpr std::array<std::string_view, 2> kMarkers = {"IA01:", "IB01:"};
    for (std::size_t i = 0; i < s.outputs.size(); ++i) {
        const CurrentOutput& o = s.outputs[i];
        if (i > 0) r += ";";
        r += std::string(kMarkers[i]) + std::to_string(o.channel) + "," + digits(o.cal4mA, 5) +
             "," + digits(o.cal20mA, 5);
    }
    return r;
}

std::string outputValuesReply(const ModuleState& s, const ProcessValues& live) {
    return "QX3:AVAL:" + outputValueText(outputCurrent(s, live, 0)) +
           ";BVAL:" + outputValueText(outputCurrent(s, live, 1));
}

std::string commandStringReply(const ModuleState& s, int row) {
    const CommandString& cs = s.commandStrings[static_cast<std::size_t>(row - 1)];
    return "RCAD" + std::to_string(row) + ":" + (cs.enabled ? "1" : "0") + "<" +
           digits(static_cast<long long>(cs.bytes.size()), 2) + "," + hexPairs(cs.bytes);
}

}  // namespace kt730sim
