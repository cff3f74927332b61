// Linux: Qt's converters, which reach the Windows code pages through ICU.

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

#include "interfaces/code_pages.h"

namespace pralix {

namespace {

QByteArray NameOf(int codePage) { return "windows-" + QByteArray::number(codePage); }

// What is left when Qt knows no such code page: ASCII, "?" for the rest.
QByteArray AsciiOrQuestionMark(const QString& text) {
  QByteArray bytes;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
    bytes += text.at(i).unicode() < 0x80 ? char(text.at(i).unicode()) : '?';
    if (pair) ++i;
  }
  return bytes;
}

}  // namespace

QByteArray EncodeWithCodePage(const QString& text, int codePage) {
  const QByteArray name = NameOf(codePage);
  QStringEncoder encoder(name.constData());
  if (!encoder.isValid()) return AsciiOrQuestionMark(text);
  QByteArray bytes = encoder.encode(text);
  // A high surrogate that ends a piece is held back for its pair, silently.
  const bool surrogates = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
  if (!encoder.hasError() && !surrogates) return bytes;

  // Rare: Qt writes 0x1A for a missing character (or nothing, for one that
  // is invisible); one code point at a time, so that only the missing ones
  // turn into "?" and a real U+001A keeps its byte.
  bytes.clear();
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype width =
        (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
    if (width == 1 && text.at(i).isSurrogate()) {
      bytes += '?';
    } else {
      QStringEncoder single(name.constData());
      const QByteArray one = single.encode(QStringView(text).mid(i, width));
      bytes += single.hasError() ? QByteArray("?") : one;
    }
    i += width;
  }
  return bytes;
}

QString DecodeWithCodePage(const QByteArray& bytes, int codePage) {
  QStringDecoder decoder(NameOf(codePage).constData());
  if (!decoder.isValid()) return QString::fromLatin1(bytes);
  return decoder.decode(bytes);
}

int AnsiCodePage() { return kCentralEuropeanCodePage; }

}  // namespace pralix
