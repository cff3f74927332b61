#pragma once
// The PC's local clock, behind an interface so that tests fix "now".

#include <QDateTime>

namespace pralix {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
 public:
  QDateTime now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace pralix
