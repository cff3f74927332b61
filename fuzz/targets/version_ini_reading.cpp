// The Version.ini reading.  Properties: the field is "0.0" or the text
// after the first "=" of the first line holding "LINK" in any case, a
// single line; an empty file leaves the field as it was.

#include <QByteArray>
#include <cstdint>

#include "fuzz_check.h"
#include "scratch_drive.h"
#include "workstation/ansi_text.h"
#include "workstation/environment_info.h"
#include "workstation/fiscal_link_paths.h"
#include "workstation/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pralix;
  const QByteArray content(reinterpret_cast<const char*>(data), int(size));
  fuzz::PutFile(kVersionIniPath, content);

  MainFields fields;
  const QString untouched = QStringLiteral("untouched");
  fields.LECurrJXVer.text = untouched;
  FiscalLinkVersionText(fields, fuzz::ScratchDrive());
  const QString& field = fields.LECurrJXVer.text;

  const QList<QByteArray> lines = SplitTextLines(content);
  if (lines.isEmpty()) {
    FUZZ_CHECK(field == untouched);
    return 0;
  }
  FUZZ_CHECK(!field.contains(u'\r') && !field.contains(u'\n'));
  for (const QByteArray& raw : lines) {
    const QString line = DecodeAnsiText(raw);
    if (!line.toUpper().contains(u"LINK")) continue;
    FUZZ_CHECK(line.endsWith(field));
    FUZZ_CHECK(line.indexOf(u'=') < 0 ? field == line : field == line.mid(line.indexOf(u'=') + 1));
    return 0;
  }
  FUZZ_CHECK(field == QStringLiteral("0.0"));
  return 0;
}
