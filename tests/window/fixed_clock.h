#pragma once
// "Now" chosen by the test.

#include "interfaces/clock.h"

namespace pralix::test {

class FixedClock final : public Clock {
 public:
  explicit FixedClock(QDateTime now = QDateTime(QDate(2021, 2, 7), QTime(10, 30))) : now_(std::move(now)) {}
  QDateTime now() const override { return now_; }
  void set(QDateTime now) { now_ = std::move(now); }

 private:
  QDateTime now_;
};

}  // namespace pralix::test
