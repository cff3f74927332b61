#include "workstation/ansi_text.h"

#include <QStringDecoder>

#include "workstation/code_page.h"

namespace pralix {
namespace {

#ifdef Q_OS_WIN
constexpr QStringConverter::Encoding kAnsi = QStringConverter::System;
QStringEncoder AnsiEncoder() { return QStringEncoder(kAnsi); }
QStringDecoder AnsiDecoder() { return QStringDecoder(kAnsi); }
#else
QStringEncoder AnsiEncoder() { return QStringEncoder("windows-1250"); }
QStringDecoder AnsiDecoder() { return QStringDecoder("windows-1250"); }
#endif

}  // namespace

QByteArray EncodeAnsiText(const QString& text) { return EncodeOrQuestionMark(text, AnsiEncoder); }

QString DecodeAnsiText(const QByteArray& bytes) {
  QStringDecoder decoder = AnsiDecoder();
  return decoder.decode(bytes);
}

}  // namespace pralix
