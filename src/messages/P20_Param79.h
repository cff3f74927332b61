#pragma once
// The period of the periodic report, apart from drawing: both days real
// dates, From not after To, and both within the years the printer's
// two-digit year can carry (it reads "yy" as 20yy, so 1999 would print as
// 2099).  The dialog, the report action and the headless command all judge
// a period here.

#include <QByteArray>
#include <QDate>
#include <QString>

namespace pralix {

inline constexpr char kInvertedPeriodMessage[] =
    "Od / From mora biti manje ili jednako od Do / To !\n\nOd / From must be less or equal than Do / To !";
inline constexpr char kPeriodOutOfRangeMessage[] =
    "Od / From i Do / To moraju biti od 01.01.2000 do 31.12.2099 !\n\n"
    "Od / From and Do / To must be from 01.01.2000 till 31.12.2099 !";
inline constexpr char kPeriodNotADateMessage[] =
    "Od / From i Do / To moraju biti ispravni datumi !\n\nOd / From and Do / To must be valid dates !";
inline constexpr char kPeriodTextMessage[] =
    "Od / From i Do / To moraju biti datumi oblika GGGG-MM-DD !\n\n"
    "Od / From and Do / To must be dates written YYYY-MM-DD !";

// The first and the last day command 79 can name.
inline QDate FirstPeriodDay() { return QDate(2000, 1, 1); }
inline QDate LastPeriodDay() { return QDate(2099, 12, 31); }

// Why a period is refused, in the order the checks run.
enum class PeriodFault { kNone, kNotADate, kOutOfRange, kInverted };

struct PeriodVerdict {
  PeriodFault fault = PeriodFault::kNone;
  QString message;  // what the user is shown; empty when accepted
  bool accepted() const { return fault == PeriodFault::kNone; }
};

// The data of command 79: "ddMMyy,ddMMyy" for an accepted period, nothing
// for a refused one.
struct PeriodCommandData {
  PeriodVerdict verdict;
  QByteArray data;
};

// A period read from the headless command's texts; the dates are those
// read (invalid when a text is not a date).
struct PeriodReading {
  QDate from;
  QDate to;
  PeriodVerdict verdict;
};

PeriodVerdict JudgePeriod(const QDate& from, const QDate& to);
PeriodCommandData BuildPeriodCommandData(const QDate& from, const QDate& to);
// Each text exactly "YYYY-MM-DD" with ASCII digits, then judged as above.
PeriodReading ReadPeriodText(const QString& fromText, const QString& toText);

}  // namespace pralix
