#include "register_map.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace kt730sim {

namespace {

constexpr int kFormatFloatAbcd = 0;
constexpr int kFormatFloatCdab = 1;
constexpr int kFormatUintAbcd = 2;
constexpr int kFormatUintCdab = 3;
constexpr int kFormatAbsCdab = 4;

constexpr double kSecondsPerHour = 3600.0;

double coefficientValue(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

std::uint32_t toUint32(float value) {
    if (!(value > 0.0F)) return 0;  // negatives and NaN
    const double rounded = std::round(static_cast<double>(value));
    if (rounded >= static_cast<double>(std::numeric_limits<std::uint32_t>::max())) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(rounded);
}

std::array<std::uint16_t, 2> split(std::uint32_t bits, bool lowWordFirst) {
    const auto high = static_cast<std::uint16_t>(bits >> 16);
    const auto low = static_cast<std::uint16_t>(bits & 0xFFFF);
    return lowWordFirst ? std::array<std::uint16_t, 2>{low, high}
                        : std::array<std::uint16_t, 2>{high, low};
}

}  // namespace

float scaledVariable(const ModuleState& state, const ProcessValues& live, int i) {
    const double raw = live.variables[static_cast<std::size_t>(i)];
    if (i == 0) {
        switch (state.variable1Mode) {
            case 1:
                return static_cast<float>(raw * kSecondsPerHour);
            case 2:
                return static_cast<float>(raw * coefficientValue(state.variable1Coefficient));
            case 3:
                return static_cast<float>(raw * coefficientValue(state.variable1Coefficient) *
                                          100.0);
            default:
                return static_cast<float>(raw);
        }
    }
    return static_cast<float>(
        raw * coefficientValue(state.coefficients[static_cast<std::size_t>(i - 1)]));
}

std::array<std::uint16_t, 2> encodeValue(int format, float value) {
    switch (format) {
        case kFormatFloatCdab:
            return split(std::bit_cast<std::uint32_t>(value), true);
        case kFormatUintAbcd:
            return split(toUint32(value), false);
        case kFormatUintCdab:
            return split(toUint32(value), true);
        case kFormatAbsCdab:
            return split(std::bit_cast<std::uint32_t>(std::fabs(value)), true);
        case kFormatFloatAbcd:
        default:
            return split(std::bit_cast<std::uint32_t>(value), false);
    }
}

RegisterMap buildRegisterMap(const ModuleState& state, const ProcessValues& live,
                             std::uint8_t instrumentPollingAddress) {
    RegisterMap map{};
    for (int n = 0; n < kDeviceSlots; ++n) {
        const DeviceSlot& slot = state.slots[static_cast<std::size_t>(n)];
        if (!slot.enabled || n != instrumentPollingAddress) continue;
        std::array<float, 5> values{live.loopCurrent};
        for (int i = 0; i < 4; ++i)
            values[static_cast<std::size_t>(i) + 1] = scaledVariable(state, live, i);
        for (std::size_t v = 0; v < values.size(); ++v) {
            const auto regs = encodeValue(slot.formats[v], values[v]);
            const std::size_t at = static_cast<std::size_t>(n * kRegistersPerSlot) + 2 * v;
            map[at] = regs[0];
            map[at + 1] = regs[1];
        }
    }
    return map;
}

double outputCurrent(const ModuleState& state, const ProcessValues& live, int output) {
    const int channel = state.outputs[static_cast<std::size_t>(output)].channel;
    if (channel < 1 || channel > 4) return 0.0;
    const std::size_t i = static_cast<std::size_t>(channel - 1);
    const Range r = kVariableRanges[i];
    const double fraction =
        (static_cast<double>(live.variables[i]) - r.low) / (static_cast<double>(r.high) - r.low);
    return 4.0 + 16.0 * std::clamp(fraction, 0.0, 1.0);
}

}  // namespace kt730sim
