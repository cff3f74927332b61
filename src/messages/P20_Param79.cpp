#include "messages/P20_Param79.h"

namespace pralix {

namespace {

bool InPrintersYears(const QDate& day) { return day >= FirstPeriodDay() && day <= LastPeriodDay(); }

void AppendTwoDigits(QByteArray& out, int value) {
  out.append(char('0' + value / 10));
  out.append(char('0' + value % 10));
}

// "ddMMyy"; the day is within the printer's years, so yy is year - 2000.
void AppendPrinterDay(QByteArray& out, const QDate& day) {
  AppendTwoDigits(out, day.day());
  AppendTwoDigits(out, day.month());
  AppendTwoDigits(out, day.year() - 2000);
}

// The value of count ASCII digits at text[at], or -1.
int DigitsAt(const QString& text, int at, int count) {
  int value = 0;
  for (int i = at; i < at + count; ++i) {
    const char16_t c = text.at(i).unicode();
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c - u'0');
  }
  return value;
}

// "YYYY-MM-DD" exactly; anything else, or a day the calendar lacks, is an
// invalid date.
QDate ReadDayText(const QString& text) {
  if (text.size() != 10 || text.at(4) != u'-' || text.at(7) != u'-') return {};
  const int year = DigitsAt(text, 0, 4), month = DigitsAt(text, 5, 2), day = DigitsAt(text, 8, 2);
  if (year < 0 || month < 0 || day < 0) return {};
  return QDate(year, month, day);  // invalid unless the calendar has it
}

PeriodVerdict Refused(PeriodFault fault, const char* message) { return {fault, QString::fromLatin1(message)}; }

}  // namespace

PeriodVerdict JudgePeriod(const QDate& from, const QDate& to) {
  if (!from.isValid() || !to.isValid()) return Refused(PeriodFault::kNotADate, kPeriodNotADateMessage);
  if (!InPrintersYears(from) || !InPrintersYears(to))
    return Refused(PeriodFault::kOutOfRange, kPeriodOutOfRangeMessage);
  if (from > to) return Refused(PeriodFault::kInverted, kInvertedPeriodMessage);
  return {};
}

PeriodCommandData BuildPeriodCommandData(const QDate& from, const QDate& to) {
  PeriodCommandData command{JudgePeriod(from, to), {}};
  if (!command.verdict.accepted()) return command;
  command.data.reserve(13);
  AppendPrinterDay(command.data, from);
  command.data.append(',');
  AppendPrinterDay(command.data, to);
  return command;
}

PeriodReading ReadPeriodText(const QString& fromText, const QString& toText) {
  PeriodReading reading{ReadDayText(fromText), ReadDayText(toText), {}};
  if (!reading.from.isValid() || !reading.to.isValid())
    reading.verdict = Refused(PeriodFault::kNotADate, kPeriodTextMessage);
  else
    reading.verdict = JudgePeriod(reading.from, reading.to);
  return reading;
}

}  // namespace pralix
