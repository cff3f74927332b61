#pragma once
// The few places where Qt 5.15 (the Windows build, for Windows 7) and Qt 6
// (Linux) spell the same thing differently; Qt Widgets' part is
// qt_version_compat_widgets.h.  Everything else is written in the subset both
// understand: left/mid rather than first/sliced, at() rather than [] with a
// qsizetype, qOverload for signals that Qt 5 overloads, QStringList{...}
// rather than a bare brace list.

#include <QString>
#include <QTextStream>
#include <QtGlobal>
#include <cstdio>

#if QT_VERSION >= QT_VERSION_CHECK(6, 4, 0)
// u"text"_s for a QString, as Qt 6.4 has it.
using namespace Qt::StringLiterals;
#else
namespace pralix::qt5 {
inline QString operator""_s(const char16_t* text, size_t size) {
  return QString(reinterpret_cast<const QChar*>(text), int(size));
}
}  // namespace pralix::qt5
using namespace pralix::qt5;
#endif

namespace pralix {

// A text stream on standard output or error that writes UTF-8, as Qt 6's
// does by default; Qt 5's would write the ANSI code page, and letters such
// as Ž or Č would reach a script as "?".
class Utf8TextStream : public QTextStream {
 public:
  explicit Utf8TextStream(FILE* file) : QTextStream(file) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    setEncoding(QStringConverter::Utf8);
#else
    setCodec("UTF-8");
#endif
  }
};

}  // namespace pralix
