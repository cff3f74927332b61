#include "commands/date_time_value.h"

#include <cmath>

namespace pralix {

namespace {

constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;

qint64 EpochJulianDay() { return QDate(1899, 12, 30).toJulianDay(); }

}  // namespace

double DateTimeToValue(QDate date, QTime time) {
  const double days = double(date.toJulianDay() - EpochJulianDay());
  const double fraction = double(time.msecsSinceStartOfDay()) / double(kMsPerDay);
  return days < 0 ? days - fraction : days + fraction;
}

double DateTimeToValue(const QDateTime& dateTime) { return DateTimeToValue(dateTime.date(), dateTime.time()); }

QDateTime ValueToDateTime(double value) {
  double whole = std::trunc(value);
  qint64 ms = std::llround(std::fabs(value - whole) * double(kMsPerDay));
  if (ms >= kMsPerDay) {  // rounded up to midnight of the next day
    ms -= kMsPerDay;
    whole += 1;
  }
  const QDate date = QDate::fromJulianDay(EpochJulianDay() + qint64(whole));
  return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

}  // namespace pralix
