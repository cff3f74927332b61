#pragma once
// What one exchange must end with, worked out from the faults the printer
// committed on each of its attempts and the exchange rules of the link
// (four attempts, seven silent reads, the fourth NAK, six frame reads),
// written down here on their own so that the engine is checked, not copied.

#include <QByteArray>
#include <QList>
#include <optional>

namespace pralix::soak {

enum class Meets {
  Clean,             // a valid reply
  Noise,             // ignored bytes, then a valid reply
  Busy,              // busy bytes for a while, then a valid reply
  Silent,            // nothing at all
  Nak,               // 0x15
  WrongSeq,          // a whole frame, invalid
  WrongCommand,
  WrongChecksum,
  TruncatedToStart,  // 0x01 and nothing more
  Truncated,         // the frame without its last bytes
  ShortLength,       // 0x01 and a length byte below 0x20
};

struct AttemptFault {
  Meets meets = Meets::Clean;
  QByteArray name;      // as the simulator logged it, "truncated:3"
  int truncatedBy = 0;  // Truncated: bytes missing
  bool receiptOut = false, journalOut = false, displayOff = false, generalError = false;
};

// One line of the simulator's fault log: "<seq hex> <command> <fault> [+condition]...".
struct LoggedAttempt {
  int seq = -1;
  int command = -1;
  AttemptFault fault;
};
std::optional<LoggedAttempt> ParseFaultLogLine(const QByteArray& line);

struct LineTiming {
  double byteMs = 10000.0 / 19200;  // one byte on the wire
  double busyMs = 1000;             // the simulator's --busy-ms
};

struct Expected {
  int code = 0;
  int attempts = 0;   // request frames the engine must write
  double boundMs = 0; // the longest the exchange may take by the read time-outs
  bool replyKept = false;  // a valid reply was read (codes 0 and 97 to 100)
};

// The outcome for the attempts as the printer met them, in order.  More
// attempts than the rules use are ignored here; the caller compares counts.
Expected ExpectOutcome(const QList<AttemptFault>& attempts, const LineTiming& timing);

}  // namespace pralix::soak
