#pragma once
// The simulated printer's answer to each request frame: the command's
// reply, with the standing status conditions and any fault that applies,
// as timed transmissions for the line.

#include <QByteArray>
#include <QDateTime>
#include <functional>
#include <vector>

#include "fault_injection.h"
#include "line_timing.h"
#include "printer_state.h"
#include "random_faults.h"
#include "sim_codec.h"

namespace pralix::sim {

// Bytes to put on the line: byte i at start + i * spacing (Outgoing line rules).
struct Transmission {
  QByteArray bytes;
  Nanos start = 0;
  Nanos spacing = 0;
  QByteArray note;  // what it is, for the request log
};

struct Answer {
  std::vector<Transmission> parts;  // empty when the printer stays silent
  QByteArray note;                  // what the printer did
};

struct Timing {
  Nanos byteTime = ByteTime(19200);
  Nanos turnaround = 1'000'000;  // from the last request byte to the answer
};

class Simulator {
 public:
  using PcClock = std::function<QDateTime()>;

  Simulator(PrinterState state, FaultPlan faults, FaultSettings faultSettings, Timing timing, PcClock pcClock);

  // The answer to a frame whose last byte arrived at receivedAt.
  Answer Respond(const RequestFrame& frame, Nanos receivedAt);

  const PrinterState& state() const { return state_; }
  // From now on every request meets a fault drawn by these instead of the
  // --fault rules; nullptr goes back to the rules.
  void UseRandomFaults(RandomFaults* random) { random_ = random; }

 private:
  Answer Reply(const RequestFrame& frame, Nanos firstByteDue);

  PrinterState state_;
  FaultPlan faults_;
  FaultSettings faultSettings_;
  Timing timing_;
  PcClock pcClock_;
  NoiseSource noise_;
  RandomFaults* random_ = nullptr;
};

}  // namespace pralix::sim
