// The periodic report's period: judged at the edges of the printer's years
// and of the calendar, the command-79 data built from it, and the headless
// command's date texts read.

#include <gtest/gtest.h>

#include "messages/P20_Param79.h"

namespace pralix {
namespace {

QString MessageOf(PeriodFault fault) {
  switch (fault) {
    case PeriodFault::kNone: return {};
    case PeriodFault::kNotADate: return QString::fromLatin1(kPeriodNotADateMessage);
    case PeriodFault::kOutOfRange: return QString::fromLatin1(kPeriodOutOfRangeMessage);
    case PeriodFault::kInverted: return QString::fromLatin1(kInvertedPeriodMessage);
  }
  return {};
}

struct JudgeCase {
  QDate from;
  QDate to;
  PeriodFault fault;
  const char* data;  // command 79's data when accepted
};

TEST(PeriodRule, JudgesAndBuildsAtTheEdges) {
  const JudgeCase cases[] = {
      {QDate(2000, 1, 1), QDate(2000, 1, 1), PeriodFault::kNone, "010100,010100"},
      {QDate(2099, 12, 31), QDate(2099, 12, 31), PeriodFault::kNone, "311299,311299"},  // "99" is 2099 only
      {QDate(2000, 1, 1), QDate(2099, 12, 31), PeriodFault::kNone, "010100,311299"},
      {QDate(2021, 1, 5), QDate(2021, 2, 7), PeriodFault::kNone, "050121,070221"},
      {QDate(2024, 2, 29), QDate(2024, 3, 1), PeriodFault::kNone, "290224,010324"},
      {QDate(2000, 2, 29), QDate(2000, 2, 29), PeriodFault::kNone, "290200,290200"},
      {QDate(1999, 12, 31), QDate(2000, 1, 1), PeriodFault::kOutOfRange, ""},
      {QDate(2099, 12, 31), QDate(2100, 1, 1), PeriodFault::kOutOfRange, ""},
      {QDate(1999, 1, 1), QDate(1999, 12, 31), PeriodFault::kOutOfRange, ""},
      {QDate(2100, 1, 1), QDate(2100, 1, 1), PeriodFault::kOutOfRange, ""},
      // Both out of range and inverted: the range is named first.
      {QDate(2100, 1, 1), QDate(2099, 12, 31), PeriodFault::kOutOfRange, ""},
      {QDate(2021, 2, 8), QDate(2021, 2, 7), PeriodFault::kInverted, ""},
      {QDate(2099, 12, 31), QDate(2000, 1, 1), PeriodFault::kInverted, ""},
      {QDate(2023, 2, 29), QDate(2023, 3, 1), PeriodFault::kNotADate, ""},  // no leap day in 2023
      {QDate(2021, 1, 5), QDate(), PeriodFault::kNotADate, ""},
      {QDate(), QDate(2021, 1, 5), PeriodFault::kNotADate, ""},
  };
  for (const JudgeCase& c : cases) {
    SCOPED_TRACE(c.from.toString(Qt::ISODate).toStdString() + " " + c.to.toString(Qt::ISODate).toStdString());
    const PeriodVerdict verdict = JudgePeriod(c.from, c.to);
    EXPECT_EQ(verdict.fault, c.fault);
    EXPECT_EQ(verdict.accepted(), c.fault == PeriodFault::kNone);
    EXPECT_EQ(verdict.message, MessageOf(c.fault));
    const PeriodCommandData command = BuildPeriodCommandData(c.from, c.to);
    EXPECT_EQ(command.verdict.fault, c.fault);
    EXPECT_EQ(command.data, QByteArray(c.data)) << "a refused period has no data";
  }
}

struct TextCase {
  const char* from;
  const char* to;
  PeriodFault fault;
};

TEST(PeriodRule, ReadsTheHeadlessTexts) {
  const TextCase cases[] = {
      {"2021-01-05", "2021-02-07", PeriodFault::kNone},
      {"2024-02-29", "2024-02-29", PeriodFault::kNone},
      {"2000-01-01", "2099-12-31", PeriodFault::kNone},
      {"1999-12-31", "2000-01-01", PeriodFault::kOutOfRange},
      {"2099-12-31", "2100-01-01", PeriodFault::kOutOfRange},
      {"2021-03-05", "2021-02-07", PeriodFault::kInverted},
      {"2023-02-29", "2023-03-01", PeriodFault::kNotADate},
      {"", "2021-02-07", PeriodFault::kNotADate},
      {"2021-01-05", "", PeriodFault::kNotADate},
      {"2021-1-05", "2021-02-07", PeriodFault::kNotADate},
      {"21-01-05", "2021-02-07", PeriodFault::kNotADate},
      {"2021/01/05", "2021-02-07", PeriodFault::kNotADate},
      {"2021-01-05 ", "2021-02-07", PeriodFault::kNotADate},
      {" 2021-01-05", "2021-02-07", PeriodFault::kNotADate},
      {"2021-01-05T10:00", "2021-02-07", PeriodFault::kNotADate},
      {"+021-01-05", "2021-02-07", PeriodFault::kNotADate},
      {"2021-13-01", "2021-02-07", PeriodFault::kNotADate},
      {"2021-00-10", "2021-02-07", PeriodFault::kNotADate},
      {"2021-01-32", "2021-02-07", PeriodFault::kNotADate},
      {"0000-01-01", "2021-02-07", PeriodFault::kNotADate},
      {"05.01.2021", "07.02.2021", PeriodFault::kNotADate},
      {"2021-01-05", "2021-02-\xD9\xA7", PeriodFault::kNotADate},  // an Arabic-Indic seven
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " | " + c.to);
    const PeriodReading reading = ReadPeriodText(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
    EXPECT_EQ(reading.verdict.fault, c.fault);
    if (c.fault == PeriodFault::kNotADate) {
      EXPECT_EQ(reading.verdict.message, QString::fromLatin1(kPeriodTextMessage));
    } else {
      EXPECT_EQ(reading.from, QDate::fromString(QString::fromLatin1(c.from), Qt::ISODate));
      EXPECT_EQ(reading.to, QDate::fromString(QString::fromLatin1(c.to), Qt::ISODate));
    }
  }
}

}  // namespace
}  // namespace pralix
