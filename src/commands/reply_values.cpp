#include "commands/reply_values.h"

#include <QDate>
#include <QTime>
#include <cstdio>
#include <limits>

#include "commands/date_time_value.h"

namespace pralix {

namespace {

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

double ParseFPDateTime(const QByteArray& replyData) {
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  // QByteArray keeps a terminating zero, so the reply reads as a C text that
  // ends at its first 00 byte, as the printer's text does.
  const int read = std::sscanf(replyData.constData(), "%d-%d-%d %d:%d:%d", &day, &month, &year, &hour, &minute,
                               &second);
  if (read != 6) return 0;
  // Calendar years 1 to 9999, as the tool's date-time values know them.
  const qint64 fullYear = qint64(year) + 2000;
  if (fullYear < 1 || fullYear > 9999) return 0;
  const QDate date(int(fullYear), month, day);
  // QTime refuses hour 24, minute 60 and second 60, as it should.
  const QTime time(hour, minute, second, 0);
  if (!date.isValid() || !time.isValid()) return 0;
  return DateTimeToValue(date, time);
}

qint32 ReadDecimalLikeAtol(const QByteArray& text) {
  qsizetype i = 0;
  while (i < text.size() && IsCSpace(text.at(i))) ++i;
  bool negative = false;
  if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-')) negative = text.at(i++) == '-';
  qint64 value = 0;
  constexpr qint64 kBeyond = qint64(std::numeric_limits<qint32>::max()) + 1;
  for (; i < text.size() && text.at(i) >= '0' && text.at(i) <= '9'; ++i) {
    if (value <= kBeyond) value = value * 10 + (text.at(i) - '0');
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<qint32>::max()) return std::numeric_limits<qint32>::max();
  if (value < std::numeric_limits<qint32>::min()) return std::numeric_limits<qint32>::min();
  return qint32(value);
}

}  // namespace pralix
