#include "crc16.hpp"

namespace kt730sim {

std::uint16_t modbusCrc16(ByteView data) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            const bool lsb = (crc & 1U) != 0;
            crc = static_cast<std::uint16_t>(crc >> 1);
            if (lsb) crc ^= 0xA001;
        }
    }
    return crc;
}

void appendModbusCrc(Bytes& frame) {
    const std::uint16_t crc = modbusCrc16(frame);
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
}

bool hasValidModbusCrc(ByteView frame) {
    if (frame.size() < 3) return false;
    const std::uint16_t crc = modbusCrc16(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

}  // namespace kt730sim
