#include "instrument.hpp"

#include <bit>
#include <cmath>
#include <numbers>

namespace kt730sim {

namespace {

constexpr std::uint8_t kDelimiterShortRequest = 0x02;
constexpr std::uint8_t kDelimiterLongRequest = 0x82;
constexpr std::uint8_t kDelimiterShortReply = 0x06;
constexpr std::uint8_t kDelimiterLongReply = 0x86;
constexpr std::uint8_t kPreamble = 0xFF;
constexpr std::uint8_t kAddressMask = 0x3F;  // low six bits of the first address byte

constexpr std::uint8_t kCmdReadUniqueId = 0;
constexpr std::uint8_t kCmdReadDynamicVariables = 3;
constexpr std::uint8_t kCmdWritePollingAddress = 6;

// Response codes (first status byte).
constexpr std::uint8_t kRcSuccess = 0;
constexpr std::uint8_t kRcInvalidSelection = 2;
constexpr std::uint8_t kRcTooFewDataBytes = 5;
constexpr std::uint8_t kRcNotImplemented = 64;
constexpr std::uint8_t kMaxPollingAddress = 63;

constexpr std::uint8_t kUniversalRevision = 5;
constexpr std::uint8_t kDeviceRevision = 1;
constexpr std::uint8_t kSoftwareRevision = 3;
constexpr std::uint8_t kHardwareRevision = 8;
constexpr std::uint8_t kFlags = 0;

double wave(double seconds, double periodSeconds) {
    return std::sin(2.0 * std::numbers::pi * seconds / periodSeconds);
}

void appendFloat(Bytes& out, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

}  // namespace

ProcessValues processValuesAt(double seconds) {
    ProcessValues v;
    const double flow = 12.5 + 2.5 * wave(seconds, 60.0);
    v.variables[0] = static_cast<float>(flow);
    v.variables[1] = static_cast<float>(21.0 + 1.5 * wave(seconds, 300.0));
    v.variables[2] = static_cast<float>(1.5 + 0.1 * wave(seconds, 45.0));
    v.variables[3] = static_cast<float>(50.0 + 10.0 * wave(seconds, 90.0));
    const Range r = kVariableRanges[0];
    v.loopCurrent = static_cast<float>(4.0 + 16.0 * (flow - r.low) / (r.high - r.low));
    v.units = {kUnitCubicMetresPerHour, kUnitDegreesCelsius, kUnitBar, kUnitPercent};
    return v;
}

std::optional<Bytes> HartInstrument::handleFrame(ByteView frame, double seconds) {
    std::size_t pos = 0;
    while (pos < frame.size() && frame[pos] == kPreamble) ++pos;
    if (pos >= frame.size()) return std::nullopt;

    const std::size_t start = pos;
    const std::uint8_t delimiter = frame[pos];
    bool longFrame = false;
    if (delimiter == kDelimiterLongRequest) {
        longFrame = true;
    } else if (delimiter != kDelimiterShortRequest) {
        return std::nullopt;
    }
    const std::size_t addressLength = longFrame ? 5 : 1;
    // delimiter, address, command, byte count
    if (frame.size() - start < 1 + addressLength + 2) return std::nullopt;
    const ByteView address = frame.subspan(start + 1, addressLength);
    const std::uint8_t command = frame[start + 1 + addressLength];
    const std::uint8_t count = frame[start + 2 + addressLength];
    const std::size_t dataStart = start + 3 + addressLength;
    if (frame.size() < dataStart + count + 1) return std::nullopt;  // check byte missing
    const ByteView data = frame.subspan(dataStart, count);

    std::uint8_t check = 0;
    for (std::size_t i = start; i < dataStart + count; ++i) check ^= frame[i];
    if (check != frame[dataStart + count]) return std::nullopt;

    if (longFrame) {
        if ((address[0] & kAddressMask) != (kManufacturerId & kAddressMask) ||
            address[1] != kDeviceType || address[2] != kDeviceId[0] || address[3] != kDeviceId[1] ||
            address[4] != kDeviceId[2]) {
            return std::nullopt;
        }
    } else if ((address[0] & kAddressMask) != pollingAddress_) {
        return std::nullopt;
    }

    std::uint8_t responseCode = kRcSuccess;
    Bytes payload;
    switch (command) {
        case kCmdReadUniqueId:
            payload = {254,
                       kManufacturerId,
                       kDeviceType,
                       kRequestPreambles,
                       kUniversalRevision,
                       kDeviceRevision,
                       kSoftwareRevision,
                       kHardwareRevision,
                       kFlags,
                       kDeviceId[0],
                       kDeviceId[1],
                       kDeviceId[2]};
            break;
        case kCmdReadDynamicVariables: {
            const ProcessValues v = processValuesAt(seconds);
            appendFloat(payload, v.loopCurrent);
            for (std::size_t i = 0; i < 4; ++i) {
                payload.push_back(v.units[i]);
                appendFloat(payload, v.variables[i]);
            }
            break;
        }
        case kCmdWritePollingAddress:
            if (data.empty()) {
                responseCode = kRcTooFewDataBytes;
            } else if (data[0] > kMaxPollingAddress) {
                responseCode = kRcInvalidSelection;
            } else {
                pollingAddress_ = data[0];
                payload.assign(data.begin(), data.end());
            }
            break;
        default:
            responseCode = kRcNotImplemented;
            break;
    }

    Bytes reply(kReplyPreambles, kPreamble);
    const std::size_t body = reply.size();
    reply.push_back(longFrame ? kDelimiterLongReply : kDelimiterShortReply);
    // The address goes back as it came, master bit included.
    reply.insert(reply.end(), address.begin(), address.end());
    reply.push_back(command);
    reply.push_back(static_cast<std::uint8_t>(payload.size() + 2));
    reply.push_back(responseCode);
    reply.push_back(0x00);  // field device status: all well
    reply.insert(reply.end(), payload.begin(), payload.end());
    std::uint8_t replyCheck = 0;
    for (std::size_t i = body; i < reply.size(); ++i) replyCheck ^= reply[i];
    reply.push_back(replyCheck);
    return reply;
}

}  // namespace kt730sim
