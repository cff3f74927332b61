#pragma once
// What the simulated printer does with each command it knows: 43, 62, 68,
// 69, 71, 79, 83, 90, 99 and 107.  Anything else is refused as an invalid
// command; known commands with data they cannot use as a syntax error.

#include <QByteArray>
#include <QDateTime>

#include "printer_state.h"

namespace pralix::sim {

struct CommandOutcome {
  QByteArray data;       // reply data
  StatusBits refusal{};  // error bits of this reply only (all clear on success)
  QByteArray note;       // what the printer did, for the request log
};

CommandOutcome ExecuteCommand(PrinterState& state, uint8_t command, const QByteArray& data, const QDateTime& pcNow);

}  // namespace pralix::sim
