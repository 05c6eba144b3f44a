#include "module.hpp"

#include "command_language.hpp"
#include "crc16.hpp"
#include "modbus_slave.hpp"
#include "register_map.hpp"

namespace kt730sim {

namespace {

constexpr int kTransparentMode = 0;
constexpr std::uint8_t kHartPreamble = 0xFF;
constexpr std::uint8_t kHartShortRequest = 0x02;
constexpr std::uint8_t kHartLongRequest = 0x82;

}  // namespace

const char* requestKindName(RequestKind kind) {
    switch (kind) {
        case RequestKind::Command:
            return "command";
        case RequestKind::Hart:
            return "HART";
        case RequestKind::Modbus:
            return "Modbus";
        case RequestKind::Unknown:
            break;
    }
    return "unknown";
}

RequestKind Module::classify(ByteView request) const {
    if (request.empty()) return RequestKind::Unknown;
    if (isCommandText(request)) return RequestKind::Command;
    if (request[0] == kHartPreamble) return RequestKind::Hart;
    if (hasValidModbusCrc(request) && request.size() >= 4) return RequestKind::Modbus;
    if (request[0] == kHartShortRequest || request[0] == kHartLongRequest) return RequestKind::Hart;
    return RequestKind::Unknown;
}

Exchange Module::handle(ByteView request, double seconds) {
    Exchange ex;
    ex.kind = classify(request);
    const ProcessValues live = processValuesAt(seconds);
    switch (ex.kind) {
        case RequestKind::Command: {
            const std::string reply = runCommand(request, state_, live);
            ex.reply = toBytes(reply);
            break;
        }
        case RequestKind::Hart:
            // Only the transparent mode passes frames through to the HART loop.
            if (state_.operationMode == kTransparentMode)
                ex.reply = instrument_.handleFrame(request, seconds);
            break;
        case RequestKind::Modbus: {
            const RegisterMap map = buildRegisterMap(state_, live, instrument_.pollingAddress());
            ex.reply =
                handleModbusFrame(request, static_cast<std::uint8_t>(state_.slaveAddress), map);
            break;
        }
        case RequestKind::Unknown:
            break;
    }
    return ex;
}

}  // namespace kt730sim
