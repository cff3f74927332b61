#pragma once
// One lane of the soak: a simulator with random faults on its own pty, the
// link's real engine on a real serial port to it, and every exchange checked
// against what its faults dictate.  The link keeps program-wide state, so
// lanes run in separate processes.

#include <QString>
#include <cstdint>

#include "soak_tally.h"

namespace pralix::soak {

struct LaneConfig {
  QString simulator;  // path of pralix-printer-sim
  uint32_t seed = 1;
  int exchanges = 500;
  int busyMs = 250;
  int lane = 0;       // for the failure texts
};

// Runs the lane; a simulator that does not start is one failure in the tally.
SoakTally RunLane(const LaneConfig& config);

}  // namespace pralix::soak
