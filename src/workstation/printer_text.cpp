#include "workstation/printer_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "workstation/code_page.h"

namespace pralix {

namespace {

constexpr char kPrinterCodePage[] = "windows-1251";

// The two rows of the substitution: the letter at position k of the first
// becomes the letter at position k of the second.
const QString kPrinterLetters = QStringLiteral(u"ЮЪЫЭЬюъыэь");
const QString kSerbianLatinLetters = QStringLiteral(u"ŠĐŽČĆšđžčć");

}  // namespace

QString DecodePrinterText(const QByteArray& bytes) {
  QStringDecoder decoder(kPrinterCodePage);
  return decoder.decode(bytes);
}

QByteArray EncodePrinterText(const QString& text) {
  return EncodeOrQuestionMark(text, [] { return QStringEncoder(kPrinterCodePage); });
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
