// The periodic report's period from the headless command's two date texts.
// Input: [From length L] L bytes of From, then the To bytes (UTF-8).
// Properties, against a reading of their own (Qt's ISO parser, kept only
// when the date prints back as the very text): a period is accepted exactly
// when both texts are real dates of 2000-2099 and From is not after To; an
// accepted one gives 13 bytes "ddMMyy,ddMMyy" that read back (years 2000+yy)
// as the same two days; a refused one gives no data and names its reason.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "fuzz_check.h"
#include "messages/P20_Param79.h"

namespace {

using namespace pralix;

// The day the text names, or an invalid date when it is not exactly one.
QDate ExpectedDay(const QString& text) {
  const QDate day = QDate::fromString(text, Qt::ISODate);
  return day.isValid() && day.toString(Qt::ISODate) == text ? day : QDate();
}

bool DigitsOnly(const QByteArray& bytes) {
  for (const char c : bytes)
    if (c < '0' || c > '9') return false;
  return true;
}

// "ddMMyy" as the printer reads it.
QDate PrinterDay(const QByteArray& six) {
  int day = 0, month = 0, year = 0;
  FUZZ_CHECK(std::sscanf(six.constData(), "%2d%2d%2d", &day, &month, &year) == 3);
  return QDate(2000 + year, month, day);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t fromSize = std::min<size_t>(data[0], size - 1);
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  const QString fromText = QString::fromUtf8(bytes, qsizetype(fromSize));
  const QString toText = QString::fromUtf8(bytes + fromSize, qsizetype(size - 1 - fromSize));

  const QDate from = ExpectedDay(fromText), to = ExpectedDay(toText);
  PeriodFault expected = PeriodFault::kNone;
  const char* message = nullptr;
  if (!from.isValid() || !to.isValid()) {
    expected = PeriodFault::kNotADate;
    message = kPeriodTextMessage;
  } else if (from.year() < 2000 || from.year() > 2099 || to.year() < 2000 || to.year() > 2099) {
    expected = PeriodFault::kOutOfRange;
    message = kPeriodOutOfRangeMessage;
  } else if (fromText > toText) {  // ISO texts sort as their days do
    expected = PeriodFault::kInverted;
    message = kInvertedPeriodMessage;
  }

  const PeriodReading reading = ReadPeriodText(fromText, toText);
  FUZZ_CHECK(reading.verdict.fault == expected);
  const PeriodCommandData command = BuildPeriodCommandData(reading.from, reading.to);
  if (expected != PeriodFault::kNone) {
    FUZZ_CHECK(!reading.verdict.accepted());
    FUZZ_CHECK(reading.verdict.message == QString::fromLatin1(message));
    FUZZ_CHECK(!command.verdict.accepted());
    FUZZ_CHECK(!command.verdict.message.isEmpty());
    FUZZ_CHECK(command.data.isEmpty());
    return 0;
  }

  FUZZ_CHECK(reading.verdict.accepted() && reading.verdict.message.isEmpty());
  FUZZ_CHECK(reading.from == from && reading.to == to);
  FUZZ_CHECK(command.verdict.accepted());
  const QByteArray& sent = command.data;
  FUZZ_CHECK(sent.size() == 13);
  FUZZ_CHECK(sent.at(6) == ',');
  FUZZ_CHECK(DigitsOnly(sent.left(6)) && DigitsOnly(sent.mid(7)));
  FUZZ_CHECK(PrinterDay(sent.left(6)) == from);
  FUZZ_CHECK(PrinterDay(sent.mid(7)) == to);
  return 0;
}
