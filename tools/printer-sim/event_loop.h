#pragma once
// The simulator's one thread: waits in ppoll for request bytes, the next
// paced byte or a stop signal, and never spins.

#include "line_speed.h"
#include "line_timing.h"
#include "pty_port.h"
#include "request_log.h"
#include "simulator.h"

namespace pralix::sim {

// A frame whose bytes stop coming for this long is dropped.
inline constexpr Nanos kPartialFrameTimeout = 500'000'000;

// Blocks SIGINT and SIGTERM outside the wait; call before starting anything.
void PrepareStopSignals();

// Runs until SIGINT or SIGTERM.  Returns 0, or 1 when the pty fails.  With a
// gate, requests that come at another line speed than the printer's are not
// understood.
int RunEventLoop(PtyPort& port, Simulator& simulator, RequestLog& log, Nanos byteTime,
                 LineSpeedGate* gate = nullptr);

}  // namespace pralix::sim
