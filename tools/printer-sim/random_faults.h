#pragma once
// Faults drawn at random from a seed, for long soak runs: each exchange (a
// request whose sequence byte differs from the one before) gets a schedule
// for its attempts, and every request frame is written to a fault log so
// that the tool's side can tell what it met.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "fault_injection.h"
#include "sim_codec.h"

namespace pralix::sim {

// What one request frame meets.
struct DrawnFault {
  std::optional<FaultKind> kind;  // nothing: a clean answer
  int truncateBy = 1;             // Truncated: bytes cut; kTruncateToStart keeps only the 0x01
  uint8_t lengthByte = 0x1F;      // ShortLength
  StatusBits status{};            // extra status bits in the reply (paper out, display off ...)

  static constexpr int kTruncateToStart = 100000;
  // "truncated:3 +receipt", "none", "short-length:0x1F +display" ...
  QByteArray Describe() const;
  // The fault settings for this frame: the base ones with this draw's sizes.
  FaultSettings Apply(FaultSettings base) const;
};

// The status conditions a draw can add, by the names Describe uses.
StatusBits StatusOfCondition(const QByteArray& name);

// A small repeatable generator: the same seed gives the same schedule on
// every machine (the standard distributions are not portable).
class SeededRandom {
 public:
  explicit SeededRandom(uint32_t seed) : state_(uint64_t(seed) * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t Next();
  // 0 .. n-1
  int Below(int n) { return int(Next() % uint32_t(n)); }

 private:
  uint64_t state_;
};

class RandomFaults {
 public:
  explicit RandomFaults(uint32_t seed) : random_(seed) {}
  ~RandomFaults();
  RandomFaults(const RandomFaults&) = delete;
  RandomFaults& operator=(const RandomFaults&) = delete;

  // The fault log: "<seq hex> <command> <Describe()>" per request frame,
  // flushed before the answer goes out.
  bool OpenLog(const QString& path, QString* error);

  // The fault for a request frame; a new sequence byte draws a new schedule.
  DrawnFault Take(uint8_t seq, int command);

  // The attempts' faults of one exchange (up to four; later frames are clean).
  std::vector<DrawnFault> DrawExchange();

 private:
  SeededRandom random_;
  std::vector<DrawnFault> schedule_;
  size_t next_ = 0;
  int lastSeq_ = -1;
  FILE* log_ = nullptr;
};

}  // namespace pralix::sim
