#include "modbus_slave.hpp"

#include "crc16.hpp"

namespace kt730sim {

namespace {

constexpr std::uint8_t kReadHoldingRegisters = 0x03;
constexpr std::uint8_t kExceptionFlag = 0x80;
constexpr std::uint8_t kIllegalFunction = 0x01;
constexpr std::uint8_t kIllegalDataAddress = 0x02;
constexpr std::uint8_t kIllegalDataValue = 0x03;
constexpr std::size_t kReadRequestLength = 8;  // address, function, start, quantity, CRC
constexpr std::size_t kMinFrameLength = 4;     // address, function, CRC
constexpr unsigned kMaxQuantity = 125;

Bytes exception(std::uint8_t address, std::uint8_t function, std::uint8_t code) {
    Bytes reply{address, static_cast<std::uint8_t>(function | kExceptionFlag), code};
    appendModbusCrc(reply);
    return reply;
}

}  // namespace

std::optional<Bytes> handleModbusFrame(ByteView frame, std::uint8_t address,
                                       const RegisterMap& registers) {
    if (frame.size() < kMinFrameLength || !hasValidModbusCrc(frame)) return std::nullopt;
    if (frame[0] != address)
        return std::nullopt;  // broadcast 0 included: reads are never broadcast
    const std::uint8_t function = frame[1];
    if (function != kReadHoldingRegisters) return exception(address, function, kIllegalFunction);
    if (frame.size() != kReadRequestLength) return exception(address, function, kIllegalDataValue);

    const unsigned start = static_cast<unsigned>(frame[2] << 8 | frame[3]);
    const unsigned quantity = static_cast<unsigned>(frame[4] << 8 | frame[5]);
    if (quantity == 0 || quantity > kMaxQuantity)
        return exception(address, function, kIllegalDataValue);
    if (start + quantity > registers.size())
        return exception(address, function, kIllegalDataAddress);

    Bytes reply{address, function, static_cast<std::uint8_t>(2 * quantity)};
    for (unsigned i = start; i < start + quantity; ++i) {
        reply.push_back(static_cast<std::uint8_t>(registers[i] >> 8));
        reply.push_back(static_cast<std::uint8_t>(registers[i] & 0xFF));
    }
    appendModbusCrc(reply);
    return reply;
}

}  // namespace kt730sim
