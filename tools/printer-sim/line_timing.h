#pragma once
// Serial line timing over a pseudo-terminal, which itself moves bytes at
// once: every byte is given the time it would take on a real line at the
// configured baud rate (10 bit times at 8N1), both ways.  Times are
// nanoseconds on the monotonic clock.

#include <QByteArray>
#include <cstdint>
#include <deque>
#include <optional>

namespace pralix::sim {

using Nanos = int64_t;

constexpr Nanos ByteTime(int baud) { return Nanos(10) * 1'000'000'000 / baud; }
Nanos MonotonicNow();

// The PC's bytes: a byte read at t has finished arriving one byte time
// after it, or after the byte before it, whichever is later.
class IncomingLine {
 public:
  explicit IncomingLine(Nanos byteTime) : byteTime_(byteTime) {}
  Nanos Arrive(Nanos readAt);

 private:
  Nanos byteTime_;
  Nanos last_ = INT64_MIN / 2;
};

// The printer's bytes, each with the time it is due on the line.
class OutgoingLine {
 public:
  explicit OutgoingLine(Nanos byteTime) : byteTime_(byteTime) {}
  // Byte i goes out at start + i * spacing, but never sooner than one byte
  // time after the byte queued before it.
  void Add(const QByteArray& bytes, Nanos start, Nanos spacing);
  // Time the last queued byte is due, or nothing when none is queued.
  std::optional<Nanos> LastDue() const;
  std::optional<Nanos> NextDue() const;
  // The bytes due by now, left in the queue until Pop.
  QByteArray Due(Nanos now) const;
  void Pop(int count);
  bool Empty() const { return queue_.empty(); }

 private:
  struct Slot {
    Nanos due;
    char byte;
  };
  Nanos byteTime_;
  Nanos lastDue_ = INT64_MIN / 2;
  std::deque<Slot> queue_;
};

}  // namespace pralix::sim
