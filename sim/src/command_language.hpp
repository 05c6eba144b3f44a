// The module's ASCII command language: queries "QQQ#...", set commands
// "QQS#..." and factory commands "KVRTNB#...". A command either changes the
// state as a whole and is acknowledged, or is refused with "ERR" and changes
// nothing.
#pragma once

#include <string>

#include "bytes.hpp"
#include "instrument.hpp"
#include "module_state.hpp"

namespace kt730sim {

inline constexpr std::string_view kErrorReply = "ERR";
inline constexpr std::size_t kMaxReplyText = 255;

// True when `request` opens with one of the three command prefixes.
bool isCommandText(ByteView request);

// Runs one command. `live` is the instrument's present reading, used by the
// present current output query.
std::string runCommand(ByteView request, ModuleState& state, const ProcessValues& live);

// The query replies, also used by the tests.
std::string connectionReply();
std::string systemReply(const ModuleState& state);
std::string deviceReply(const ModuleState& state, int slot);
std::string outputSettingsReply(const ModuleState& state);
std::string outputValuesReply(const ModuleState& state, const ProcessValues& live);
std::string commandStringReply(const ModuleState& state, int row);

}  // namespace kt730sim
