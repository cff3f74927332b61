// The single-byte conversions both ways, for the printer's code page and
// the PC's ANSI one.  Properties: a text made of the code page's characters
// encodes and decodes back to itself; any text encodes to one byte per
// character, "?" standing for those the code page lacks.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

#include "fuzz_check.h"
#include "workstation/ansi_text.h"
#include "workstation/printer_text.h"

namespace {

void CheckCodePage(const QByteArray& bytes, const QString& wide, QString (*decode)(const QByteArray&),
                   QByteArray (*encode)(const QString&)) {
  // Bytes -> text -> bytes: every byte the code page maps comes back.
  const QString decoded = decode(bytes);
  FUZZ_CHECK(decoded.size() == bytes.size());
  const QByteArray again = encode(decoded);
  FUZZ_CHECK(again.size() == bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (decoded.at(i) == QChar::ReplacementCharacter) FUZZ_CHECK(again.at(i) == '?');
    else FUZZ_CHECK(again.at(i) == bytes.at(i));
  }
  FUZZ_CHECK(decode(again) == decoded || decoded.contains(QChar::ReplacementCharacter));

  // Any text -> bytes: one byte per character (a surrogate pair is one),
  // and a character either comes back or is "?".  A lone surrogate, the last
  // unit included, counts as one character (toUcs4 gives U+FFFD for it) and
  // must come out as "?", never vanish.
  const QByteArray encoded = encode(wide);
  const QList<uint> points = wide.toUcs4();
  FUZZ_CHECK(encoded.size() == points.size());
  const QList<uint> back = decode(encoded).toUcs4();
  FUZZ_CHECK(back.size() == points.size());
  for (qsizetype i = 0; i < points.size(); ++i) {
    FUZZ_CHECK(back[i] == points[i] || back[i] == u'?');
    if (points[i] == QChar::ReplacementCharacter) FUZZ_CHECK(encoded.at(i) == '?');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pralix;
  const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
  // The same input read as UTF-16 code units, lone surrogates included.
  const QString wide(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
  CheckCodePage(bytes, wide, DecodePrinterText, EncodePrinterText);
  CheckCodePage(bytes, wide, DecodeAnsiText, EncodeAnsiText);

  // The letter repair changes only its ten letters, one for one.
  const QString repaired = TransliterateText(wide);
  FUZZ_CHECK(repaired.size() == wide.size());
  return 0;
}
