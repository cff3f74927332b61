#pragma once
// What Linux says of a process's memory: its resident set now and at its
// peak (VmRSS, VmHWM in /proc/PID/status), and a way to start the peak
// again from now, so that one piece of work's own peak can be seen.

#include <QtGlobal>
#include <optional>

namespace pralix::bench {

struct ProcessMemory {
  qint64 residentKiB = 0;  // VmRSS
  qint64 peakKiB = 0;      // VmHWM
};

// Nothing when the process is gone or /proc cannot be read.
std::optional<ProcessMemory> ReadProcessMemory(qint64 pid);

// Sets the peak back to the resident set now (writes 5 to
// /proc/PID/clear_refs); false when the kernel refused.
bool ResetPeakMemory(qint64 pid);

}  // namespace pralix::bench
