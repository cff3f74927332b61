// Windows build only (uses Qt): the code page conversions on the system's
// own, as a Qt without ICU has no Windows code page converters.  Never
// compiled on Linux.

#include "interfaces/code_pages.h"
#include "platform/win/win_code_page.h"

namespace pralix {

QByteArray EncodeWithCodePage(const QString& text, int codePage) {
  const std::string bytes = win::EncodeCodePage(text.toStdWString(), unsigned(codePage));
  return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QString DecodeWithCodePage(const QByteArray& bytes, int codePage) {
  return QString::fromStdWString(win::DecodeCodePage(bytes.toStdString(), unsigned(codePage)));
}

int AnsiCodePage() { return int(win::SystemAnsiCodePage()); }

}  // namespace pralix
