// The HART field instrument behind the module: a flow meter with a fixed
// identity that answers commands 0, 3 and 6 and whose values drift slowly.
#pragma once

#include <array>
#include <optional>

#include "bytes.hpp"

namespace kt730sim {

// Identity of the simulated instrument (command 0 data bytes 1, 2 and 9-11).
inline constexpr std::uint8_t kManufacturerId = 0x26;
inline constexpr std::uint8_t kDeviceType = 0x06;
inline constexpr std::array<std::uint8_t, 3> kDeviceId = {0x01, 0x02, 0x03};
inline constexpr std::uint8_t kRequestPreambles = 5;
inline constexpr int kReplyPreambles = 5;

// HART unit codes of the four dynamic variables.
inline constexpr std::uint8_t kUnitCubicMetresPerHour = 19;
inline constexpr std::uint8_t kUnitDegreesCelsius = 32;
inline constexpr std::uint8_t kUnitBar = 7;
inline constexpr std::uint8_t kUnitPercent = 57;

// One reading of the instrument: loop current in mA and the four dynamic
// variables (primary to quaternary) with their unit codes.
struct ProcessValues {
    float loopCurrent = 0;
    std::array<float, 4> variables{};
    std::array<std::uint8_t, 4> units{};
};

// The readings at `seconds` after start. At 0 every value stands at its
// centre: 12 mA, 12.5 m3/h, 21 degC, 1.5 bar, 50 %.
ProcessValues processValuesAt(double seconds);

// Measuring range of each variable, used to map it onto 4-20 mA.
struct Range {
    float low;
    float high;
};
inline constexpr std::array<Range, 4> kVariableRanges = {{{0, 25}, {0, 100}, {0, 10}, {0, 100}}};

class HartInstrument {
  public:
    // Reply to one request frame (preambles already stripped or not), or
    // nothing when the frame is damaged or addressed to another instrument.
    std::optional<Bytes> handleFrame(ByteView frame, double seconds);

    std::uint8_t pollingAddress() const { return pollingAddress_; }
    void setPollingAddress(std::uint8_t address) { pollingAddress_ = address; }

  private:
    std::uint8_t pollingAddress_ = 0;
};

}  // namespace kt730sim
