#include "workstation/ansi_text.h"

#include "interfaces/code_pages.h"

namespace pralix {

QByteArray EncodeAnsiText(const QString& text) { return EncodeWithCodePage(text, AnsiCodePage()); }

QString DecodeAnsiText(const QByteArray& bytes) { return DecodeWithCodePage(bytes, AnsiCodePage()); }

}  // namespace pralix
