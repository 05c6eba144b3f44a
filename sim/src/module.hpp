// The whole module as a pure object: one request in, at most one reply out.
// No I/O and no clock of its own: the caller passes the time.
//
// How a request is told apart (one request is one block of the line):
//   1. it opens with "QQQ#", "QQS#" or "KVRTNB#": a command text;
//   2. it opens with 0xFF: a HART frame (the preamble);
//   3. its last two bytes are a valid Modbus CRC: a Modbus RTU frame;
//   4. it opens with a HART request delimiter (0x02, 0x82): a HART frame
//      sent without preamble;
//   5. anything else is line noise and gets no answer.
#pragma once

#include <optional>

#include "bytes.hpp"
#include "instrument.hpp"
#include "module_state.hpp"

namespace kt730sim {

enum class RequestKind { Command, Hart, Modbus, Unknown };

const char* requestKindName(RequestKind kind);

struct Exchange {
    RequestKind kind = RequestKind::Unknown;
    std::optional<Bytes> reply;
};

class Module {
  public:
    Module() : state_(defaultModuleState()) {}

    // `seconds` is the time since start; it drives the instrument's values.
    Exchange handle(ByteView request, double seconds);

    RequestKind classify(ByteView request) const;

    const ModuleState& state() const { return state_; }
    ModuleState& state() { return state_; }
    HartInstrument& instrument() { return instrument_; }
    const HartInstrument& instrument() const { return instrument_; }

  private:
    ModuleState state_;
    HartInstrument instrument_;
};

}  // namespace kt730sim
