#include "line_timing.h"

#include <algorithm>
#include <ctime>

namespace pralix::sim {

Nanos MonotonicNow() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return Nanos(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

Nanos IncomingLine::Arrive(Nanos readAt) {
  last_ = std::max(readAt, last_) + byteTime_;
  return last_;
}

void OutgoingLine::Add(const QByteArray& bytes, Nanos start, Nanos spacing) {
  for (int i = 0; i < bytes.size(); ++i) {
    const Nanos due = std::max(start + i * spacing, lastDue_ + byteTime_);
    queue_.push_back({due, bytes[i]});
    lastDue_ = due;
  }
}

std::optional<Nanos> OutgoingLine::LastDue() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.back().due;
}

std::optional<Nanos> OutgoingLine::NextDue() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.front().due;
}

QByteArray OutgoingLine::Due(Nanos now) const {
  QByteArray bytes;
  for (const Slot& s : queue_) {
    if (s.due > now) break;
    bytes.append(s.byte);
  }
  return bytes;
}

void OutgoingLine::Pop(int count) {
  queue_.erase(queue_.begin(), queue_.begin() + std::min<qsizetype>(count, qsizetype(queue_.size())));
}

}  // namespace pralix::sim
