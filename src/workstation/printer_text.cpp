#include "workstation/printer_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace pralix {

namespace {

constexpr char kPrinterCodePage[] = "windows-1251";

// The two rows of the substitution: the letter at position k of the first
// becomes the letter at position k of the second.
const QString kPrinterLetters = QStringLiteral(u"ЮЪЫЭЬюъыэь");
const QString kSerbianLatinLetters = QStringLiteral(u"ŠĐŽČĆšđžčć");

// Qt's encoder puts 0x1A (SUB) where a character has no byte; the PC's
// conversion gives "?".  Encodes one code point at a time so that a real
// U+001A keeps its byte and only a replacement becomes "?".
QByteArray EncodeMarkingUnmappable(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  QStringEncoder encoder(kPrinterCodePage);
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype width = (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
    const QStringView one = QStringView(text).mid(i, width);
    const QByteArray encoded = encoder.encode(one);
    const bool replaced = encoded == QByteArray(1, '\x1A') && one != QStringView(u"\u001A");
    bytes += replaced ? QByteArray("?") : encoded;
    i += width;
  }
  return bytes;
}

}  // namespace

QString DecodePrinterText(const QByteArray& bytes) {
  QStringDecoder decoder(kPrinterCodePage);
  return decoder.decode(bytes);
}

QByteArray EncodePrinterText(const QString& text) {
  QStringEncoder encoder(kPrinterCodePage);
  QByteArray bytes = encoder.encode(text);
  if (!encoder.hasError()) return bytes;
  return EncodeMarkingUnmappable(text);
}

QString TransliterateText(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (const QChar c : text) {
    const qsizetype k = kPrinterLetters.indexOf(c);
    result += k < 0 ? c : kSerbianLatinLetters.at(k);
  }
  return result;
}

}  // namespace pralix
