// Everything the module keeps: its settings as the command language sets and
// reports them. Defaults are those of a module fresh from the factory.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "bytes.hpp"

namespace kt730sim {

inline constexpr int kDeviceSlots = 5;
inline constexpr int kCommandStrings = 6;
inline constexpr std::size_t kMaxRawBytes = 14;

struct SerialPortSettings {
    int baudCode = 3;      // 0..7: 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200
    int parityCode = 0;    // 0 none, 1 odd, 2 even
    int responseTime = 3;  // 0..5: 50, 100, 200, 300, 400, 500 ms
    int baseAddress = 0;   // 0..65535
    bool operator==(const SerialPortSettings&) const = default;
};

struct ReadCommand {
    bool enabled = false;
    Bytes bytes;
    bool operator==(const ReadCommand&) const = default;
};

// Where one variable of a custom meter is cut from a read command's reply.
struct ParseField {
    int readCommand = 0;   // 0 not parsed, 1 or 2
    int startAddress = 0;  // 0..99
    int length = 0;        // 0 four bytes, 1 eight bytes
    bool operator==(const ParseField&) const = default;
};

struct DeviceSlot {
    bool enabled = false;
    int masterRole = 1;        // 0 secondary master, 1 primary master
    int meterType = 1;         // 0..19, 1 universal meter
    int preambles = 5;         // 4..9
    int bufferClearTime = 60;  // seconds, 0..999
    // Value formats of loop current and variables 1-4:
    // 0 float ABCD, 1 float CDAB, 2 uint32 ABCD, 3 uint32 CDAB, 4 |float| CDAB.
    std::array<int, 5> formats{};
    std::array<ReadCommand, 2> readCommands{};
    int addressBits = 8;  // 3..9
    std::array<ParseField, 4> parse{};
    bool operator==(const DeviceSlot&) const = default;
};

struct CommandString {
    bool enabled = false;
    Bytes bytes;
    bool operator==(const CommandString&) const = default;
};

struct CurrentOutput {
    int channel = 0;  // 0 off, 1..4 variable
    int cal4mA = 800;
    int cal20mA = 4000;
    bool operator==(const CurrentOutput&) const = default;
};

struct ModuleState {
    SerialPortSettings rs485a;
    SerialPortSettings rs485b;
    int slaveAddress = 1;      // 1..247
    int operationMode = 0;     // 0 transparent .. 4 monitoring output
    int pollingInterval = 50;  // steps of 0.02 s
    // Factory data, kept by a parameter initialisation.
    long long pcbSerial = 0;
    int inspector = 1;
    std::array<DeviceSlot, kDeviceSlots> slots{};
    int variable1Mode = 0;  // 0 off, 1 m3/s->m3/h, 2 coefficient, 3 coefficient*100
    std::string variable1Coefficient = "0.001";
    std::array<std::string, 3> coefficients{"1.000", "1.000", "1.000"};  // variables 2..4
    std::array<CommandString, kCommandStrings> commandStrings{};
    std::array<CurrentOutput, 2> outputs{};
    bool operator==(const ModuleState&) const = default;
};

// The state after power-up or a parameter initialisation.
ModuleState defaultModuleState();

// Restores every setting of the set commands; factory data (production data,
// current output assignment and calibration) stays.
void resetToDefaults(ModuleState& state);

// Baud rate of a baud code, 0 for an unknown code.
int baudRateOfCode(int code);

}  // namespace kt730sim
