#include "workstation/printer_text.h"

#include "interfaces/code_pages.h"

namespace pralix {

namespace {

// The two rows of the substitution: the letter at position k of the first
// becomes the letter at position k of the second.
const QString kPrinterLetters = QStringLiteral(u"ЮЪЫЭЬюъыэь");
const QString kSerbianLatinLetters = QStringLiteral(u"ŠĐŽČĆšđžčć");

}  // namespace

QString DecodePrinterText(const QByteArray& bytes) { return DecodeWithCodePage(bytes, kCyrillicCodePage); }

QByteArray EncodePrinterText(const QString& text) { return EncodeWithCodePage(text, kCyrillicCodePage); }

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
