// The printer's date and time ("dd-mm-yy hh:mm:ss").  Properties: a value
// other than 0 turns back into exactly the six numbers read, and the value
// round-trips through the date-time conversion.

#include <QByteArray>
#include <cstdint>
#include <cstdio>

#include "commands/date_time_value.h"
#include "commands/reply_values.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pralix;
  const QByteArray reply(reinterpret_cast<const char*>(data), int(size));
  const double value = ParseFPDateTime(reply);
  if (value == 0) return 0;

  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  FUZZ_CHECK(std::sscanf(reply.constData(), "%d-%d-%d %d:%d:%d", &day, &month, &year, &hour, &minute, &second) == 6);
  const QDateTime back = ValueToDateTime(value);
  FUZZ_CHECK(back.date() == QDate(year + 2000, month, day));
  FUZZ_CHECK(back.time() == QTime(hour, minute, second));
  FUZZ_CHECK(DateTimeToValue(back) == value);
  return 0;
}
