// Field splitting of reply data and the readers' number conversion.
// Properties: the fields joined by "," give the reply back, only the last
// field holds commas, and the atol-like reading agrees with strtoll.

#include <QByteArray>
#include <QByteArrayList>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "commands/reply_values.h"
#include "fuzz_check.h"
#include "link/P00_fpcommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pralix;
  const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));

  FPCommand00 cmd;
  cmd.ReplyData = bytes;
  const int commas = int(bytes.count(','));
  const int present = std::min(commas + 1, FPCommand00::kFieldCount);
  QByteArrayList fields;
  for (int i = 0; i < FPCommand00::kFieldCount; ++i) {
    const QByteArray field = cmd.Field(i);
    if (i < present) {
      fields << field;
      if (i < FPCommand00::kFieldCount - 1) FUZZ_CHECK(!field.contains(','));
    } else {
      FUZZ_CHECK(field.isEmpty());
    }
  }
  FUZZ_CHECK(fields.join(',') == bytes);
  FUZZ_CHECK(cmd.Field(-1).isEmpty() && cmd.Field(FPCommand00::kFieldCount).isEmpty());

  // The C library's reading of the same text, up to its first 00 byte,
  // brought into 32 bits.
  const std::string text(bytes.constData());
  long long expected = std::strtoll(text.c_str(), nullptr, 10);
  expected = std::max<long long>(expected, std::numeric_limits<qint32>::min());
  expected = std::min<long long>(expected, std::numeric_limits<qint32>::max());
  FUZZ_CHECK(ReadDecimalLikeAtol(bytes) == qint32(expected));
  for (int i = 0; i < present; ++i) (void)ReadDecimalLikeAtol(fields[i]);
  return 0;
}
