// Values read from printer replies: the printer's date and time, the atol
// reading of counts, and the day-count date-time values.

#include <gtest/gtest.h>

#include <climits>

#include "commands/date_time_value.h"
#include "commands/reply_values.h"

namespace pralix {
namespace {

QString Format(double value) { return ValueToDateTime(value).toString("yyyy-MM-dd hh:mm:ss.zzz"); }

TEST(FPDateTime, ValidTextsGiveTheDateOfThisCentury) {
  struct Case {
    const char* reply;
    const char* expected;
  };
  const Case cases[] = {
      {"31-12-99 23:59:59", "2099-12-31 23:59:59.000"},
      {"01-01-00 00:00:00", "2000-01-01 00:00:00.000"},
      {"29-02-24 12:30:05", "2024-02-29 12:30:05.000"},
      {"10-05-21 10:00:00", "2021-05-10 10:00:00.000"},
      // scanf's white space: "%d" skips it, the blank takes any amount.
      {"  10-05-21 10:00:00", "2021-05-10 10:00:00.000"},
      {"10- 05-\t21\n\n 10: 00:00", "2021-05-10 10:00:00.000"},
      {"10-05-21\t10:00:00", "2021-05-10 10:00:00.000"},
      {"+10-05-21 10:00:00", "2021-05-10 10:00:00.000"},
      // Whatever follows the six numbers is ignored.
      {"10-05-21 10:00:00,ABC", "2021-05-10 10:00:00.000"},
      {"10-05-21 10:00:007", "2021-05-10 10:00:07.000"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(ParseFPDateTime(c.reply)), c.expected) << c.reply;
}

TEST(FPDateTime, DayCountsAreThoseOfTheToolsDateTimeValues) {
  EXPECT_DOUBLE_EQ(ParseFPDateTime("01-01-00 00:00:00"), 36526.0);
  EXPECT_DOUBLE_EQ(ParseFPDateTime("10-05-21 18:00:00"), 44326.75);
  EXPECT_DOUBLE_EQ(ParseFPDateTime("31-12-99 12:00:00"), 73050.5);
}

TEST(FPDateTime, InvalidOrIncompleteTextsGiveZero) {
  const char* cases[] = {
      "30-02-21 10:00:00",  // no 30 February
      "29-02-23 10:00:00",  // 2023 is no leap year
      "00-05-21 10:00:00", "32-05-21 10:00:00", "10-13-21 10:00:00", "10-00-21 10:00:00",
      "10-05-21 24:00:00",  // hour 24
      "10-05-21 23:60:00", "10-05-21 23:59:60", "10-05-21 -1:00:00",
      "10--05-21 10:00:00",  // month -5
      "10-05-21 10:00",      // five numbers
      "10-05-21", "", "ABC", "10/05/21 10:00:00",
      "10 -05-21 10:00:00",  // a literal must follow at once
      "10-05-21 10.00.00",
      "10-05-8000 10:00:00",  // year 10000
  };
  for (const char* reply : cases) EXPECT_EQ(ParseFPDateTime(reply), 0.0) << '"' << reply << '"';
}

TEST(FPDateTime, TextEndsAtAZeroByte) {
  EXPECT_EQ(ParseFPDateTime(QByteArray("10-05-21\0 10:00:00", 18)), 0.0);
}

TEST(AtolReading, ReadsLikeTheCLibrary) {
  struct Case {
    const char* text;
    qint32 expected;
  };
  const Case cases[] = {
      {"42", 42},       {"  42abc", 42},  {"\t\n-7", -7},     {"+15", 15},          {"", 0},
      {"abc", 0},       {"- 5", 0},       {"0012", 12},       {"12 34", 12},        {"-0", 0},
      {"1.5", 1},       {"2147483647", INT_MAX},              {"-2147483648", INT_MIN},
      {"99999999999999999999", INT_MAX},  {"-99999999999999999999", INT_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadDecimalLikeAtol(c.text), c.expected) << '"' << c.text << '"';
}

TEST(DateTimeValue, ZeroIsTheEpoch) {
  EXPECT_EQ(Format(0), "1899-12-30 00:00:00.000");
  EXPECT_EQ(DateTimeToValue(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
  EXPECT_DOUBLE_EQ(DateTimeToValue(QDateTime(QDate(2000, 1, 1), QTime(12, 0))), 36526.5);
}

TEST(DateTimeValue, DaysBeforeTheEpochCountNegativeWithTheTimeAdded) {
  EXPECT_DOUBLE_EQ(DateTimeToValue(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
  EXPECT_EQ(Format(-1.25), "1899-12-29 06:00:00.000");
  EXPECT_EQ(Format(-2.0), "1899-12-28 00:00:00.000");
}

TEST(DateTimeValue, RoundTripIsExactToTheMillisecond) {
  const QDateTime cases[] = {
      {QDate(2099, 12, 31), QTime(23, 59, 59, 999)}, {QDate(2024, 2, 29), QTime(0, 0, 0, 1)},
      {QDate(2021, 5, 10), QTime(10, 0, 0, 0)},      {QDate(1899, 12, 29), QTime(6, 0, 0, 0)},
      {QDate(1900, 1, 1), QTime(12, 34, 56, 789)},   {QDate(9999, 12, 31), QTime(23, 59, 59, 999)},
      {QDate(1, 1, 1), QTime(0, 0, 0, 1)},
  };
  for (const QDateTime& dt : cases) {
    EXPECT_EQ(ValueToDateTime(DateTimeToValue(dt)), dt) << dt.toString(Qt::ISODateWithMs).toStdString();
  }
}

TEST(DateTimeValue, JustBeforeMidnightRoundsIntoTheNextDay) {
  EXPECT_EQ(Format(1.0 - 1e-12), "1899-12-31 00:00:00.000");
}

TEST(DateTimeValue, DifferenceOfValuesIsInDays) {
  const double later = DateTimeToValue(QDate(2021, 5, 10), QTime(11, 0));
  const double earlier = DateTimeToValue(QDate(2021, 5, 10), QTime(10, 0));
  EXPECT_NEAR(later - earlier, 1.0 / 24, 1e-9);
}

}  // namespace
}  // namespace pralix
