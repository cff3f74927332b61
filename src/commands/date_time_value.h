#pragma once
// Date-time values as the tool keeps them: days since 1899-12-30 with the
// time of day as the fraction; 0 means "not read".  Days before 1899-12-30
// count negative while the fraction still adds the time of day (-1.25 is
// 1899-12-29 06:00).

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace pralix {

double DateTimeToValue(QDate date, QTime time);
double DateTimeToValue(const QDateTime& dateTime);
// Exact to the millisecond; the result is in local time.
QDateTime ValueToDateTime(double value);

}  // namespace pralix
