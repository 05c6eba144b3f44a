// The module's Modbus holding registers: ten per device slot, slot n from
// protocol address 10*n (40001 + 10*n), holding the loop current and
// variables 1-4 as 32-bit values in the slot's value formats.
#pragma once

#include <array>
#include <cstdint>

#include "instrument.hpp"
#include "module_state.hpp"

namespace kt730sim {

inline constexpr int kRegistersPerSlot = 10;
inline constexpr int kRegisterCount = kRegistersPerSlot * kDeviceSlots;

using RegisterMap = std::array<std::uint16_t, kRegisterCount>;

// A slot publishes the instrument's values when it is enabled and its number
// is the instrument's polling address; any other slot reads zero.
RegisterMap buildRegisterMap(const ModuleState& state, const ProcessValues& live,
                             std::uint8_t instrumentPollingAddress);

// Variable i (0..3) after the module's coefficients.
float scaledVariable(const ModuleState& state, const ProcessValues& live, int i);

// Two registers of `value` in value format `format`, first register first.
std::array<std::uint16_t, 2> encodeValue(int format, float value);

// Present value of current output `output` (0 A, 1 B) in mA; 0 when off.
double outputCurrent(const ModuleState& state, const ProcessValues& live, int output);

}  // namespace kt730sim
