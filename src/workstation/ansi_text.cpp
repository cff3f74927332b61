#include "workstation/ansi_text.h"

#include <QStringEncoder>

namespace pralix {
namespace {

QStringEncoder AnsiEncoder() {
#ifdef Q_OS_WIN
  return QStringEncoder(QStringConverter::System);
#else
  return QStringEncoder("windows-1250");
#endif
}

}  // namespace

QByteArray EncodeAnsiText(const QString& text) {
  QStringEncoder encoder = AnsiEncoder();
  QByteArray bytes = encoder.encode(text);
  if (!encoder.hasError()) return bytes;

  // Rare: encode character by character so that only the missing ones turn
  // into "?" (the converter itself would write 0x1A).
  bytes.clear();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QStringEncoder single = AnsiEncoder();
    const QByteArray one = single.encode(QStringView(text).mid(i, width));
    bytes += single.hasError() ? QByteArray("?") : one;
    i += width - 1;
  }
  return bytes;
}

}  // namespace pralix
