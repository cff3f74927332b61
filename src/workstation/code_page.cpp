#include "workstation/code_page.h"

namespace pralix {

QByteArray EncodeOrQuestionMark(const QString& text, QStringEncoder (*makeEncoder)()) {
  QStringEncoder encoder = makeEncoder();
  QByteArray bytes = encoder.encode(text);
  if (!encoder.hasError()) return bytes;

  // Rare: one code point at a time, so that only the missing ones turn into
  // "?" and a real U+001A keeps its byte.
  bytes.clear();
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype width =
        (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
    QStringEncoder single = makeEncoder();
    const QByteArray one = single.encode(QStringView(text).mid(i, width));
    bytes += single.hasError() ? QByteArray("?") : one;
    i += width;
  }
  return bytes;
}

}  // namespace pralix
