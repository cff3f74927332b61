#pragma once
// Line faults the simulated printer can be told to commit, and which
// requests they hit.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace pralix::sim {

enum class FaultKind {
  Silent,         // no answer at all
  Nak,            // 0x15 instead of the reply
  Noise,          // noise bytes, then the reply
  WrongSeq,       // reply with another sequence byte (checksum still right)
  WrongCommand,   // reply with another command byte (checksum still right)
  WrongChecksum,  // reply whose checksum is one off
  Truncated,      // reply with its last bytes missing
  ShortLength,    // reply whose length byte is below 0x20
  Busy,           // a busy byte every 60 ms for a while, then the reply
};

// One --fault: the kind, how many matching requests it still hits (-1 for
// every one) and the command it is limited to (-1 for any).
struct FaultRule {
  FaultKind kind = FaultKind::Silent;
  int remaining = -1;
  int command = -1;
};

// "KIND", "KIND:N", "KIND@CMD" or "KIND:N@CMD"; kinds are named as in
// FaultName.  On a bad text returns nothing and says why in *error.
std::optional<FaultRule> ParseFaultRule(const QString& text, QString* error);
const char* FaultName(FaultKind kind);
// Silent and NAK mean the printer did not take the request in, so the
// command is not carried out; the others spoil only the answer.
bool CommandRuns(FaultKind kind);

class FaultPlan {
 public:
  void Add(const FaultRule& rule) { rules_.push_back(rule); }
  // The first rule that matches a request for command and still has hits
  // left; the hit is counted.
  std::optional<FaultKind> Take(int command);

 private:
  std::vector<FaultRule> rules_;
};

struct FaultSettings {
  int busyMs = 1000;            // how long busy bytes come before the reply
  int busyIntervalMs = 60;
  uint8_t busyByte = 0x16;
  int noiseCount = 8;
  int truncateBy = 1;           // bytes cut from the end of a truncated reply
  uint8_t shortLengthByte = 0x1F;
};

// The reply frame as the fault spoils it (WrongSeq, WrongCommand,
// WrongChecksum, Truncated, ShortLength); other kinds return the frame unchanged.
QByteArray SpoilReply(FaultKind kind, const QByteArray& frame, const FaultSettings& settings);

// Line noise: never 0x01 or 0x15 (they would read as a frame start or a
// NAK) nor 0x11 or 0x13 (XON/XOFF would stop or start the PC's output).
class NoiseSource {
 public:
  explicit NoiseSource(uint32_t seed = 0x5EED1234u) : state_(seed) {}
  QByteArray Next(int count);

 private:
  uint32_t state_;
};

}  // namespace pralix::sim
