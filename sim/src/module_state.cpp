#include "module_state.hpp"

namespace kt730sim {

ModuleState defaultModuleState() {
    ModuleState s;
    s.slots[0].enabled = true;
    s.outputs[0].channel = 1;
    return s;
}

void resetToDefaults(ModuleState& state) {
    ModuleState fresh = defaultModuleState();
    fresh.pcbSerial = state.pcbSerial;
    fresh.inspector = state.inspector;
    fresh.outputs = state.outputs;
    state = fresh;
}

int baudRateOfCode(int code) {
    static constexpr std::array<int, 8> kRates = {1200,  2400,  4800,  9600,
                                                  19200, 38400, 57600, 115200};
    if (code < 0 || code >= static_cast<int>(kRates.size())) return 0;
    return kRates[static_cast<std::size_t>(code)];
}

}  // namespace kt730sim
