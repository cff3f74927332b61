#include "records/utc_time.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QTimeZone>

namespace pralix::desk {
namespace {

// Reads count digits at pos; -1 when one is not a digit or the text ends.
int Digits(const QByteArray& text, int pos, int count) {
  if (pos + count > text.size()) return -1;
  int value = 0;
  for (int i = pos; i < pos + count; ++i) {
    const char c = text.at(i);
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool CharAt(const QByteArray& text, int pos, char expected) { return pos < text.size() && text.at(pos) == expected; }

}  // namespace

std::optional<qint64> ParseRfc3339(const QByteArray& text) {
  const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  if (year < 0 || month < 0 || day < 0 || !CharAt(text, 4, '-') || !CharAt(text, 7, '-')) return std::nullopt;
  if (!CharAt(text, 10, 'T') && !CharAt(text, 10, 't')) return std::nullopt;
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
  if (hour < 0 || minute < 0 || second < 0 || !CharAt(text, 13, ':') || !CharAt(text, 16, ':')) return std::nullopt;
  int pos = 19;
  int millis = 0;
  if (CharAt(text, pos, '.')) {
    int digits = 0;
    for (++pos; pos < text.size() && text.at(pos) >= '0' && text.at(pos) <= '9'; ++pos, ++digits)
      if (digits < 3) millis = millis * 10 + (text.at(pos) - '0');
    if (digits == 0) return std::nullopt;
    for (; digits < 3; ++digits) millis *= 10;
  }
  int offsetMinutes = 0;
  if (CharAt(text, pos, 'Z') || CharAt(text, pos, 'z')) {
    ++pos;
  } else if (CharAt(text, pos, '+') || CharAt(text, pos, '-')) {
    const int sign = text.at(pos) == '-' ? -1 : 1;
    const int offsetHours = Digits(text, pos + 1, 2), offsetMins = Digits(text, pos + 4, 2);
    if (offsetHours < 0 || offsetMins < 0 || !CharAt(text, pos + 3, ':') || offsetHours > 23 || offsetMins > 59)
      return std::nullopt;
    offsetMinutes = sign * (offsetHours * 60 + offsetMins);
    pos += 6;
  } else {
    return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  const QDate date(year, month, day);
  const QTime time(hour, minute, second, millis);
  if (!date.isValid() || !time.isValid()) return std::nullopt;
  return QDateTime(date, time, QTimeZone::utc()).toMSecsSinceEpoch() - qint64(offsetMinutes) * 60 * 1000;
}

QString FormatRfc3339(qint64 msSinceEpoch) {
  return QDateTime::fromMSecsSinceEpoch(msSinceEpoch, QTimeZone::utc()).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QString FormatDay(qint64 msSinceEpoch) {
  return QDateTime::fromMSecsSinceEpoch(msSinceEpoch, QTimeZone::utc()).toString(QStringLiteral("yyyy-MM-dd"));
}

}  // namespace pralix::desk
