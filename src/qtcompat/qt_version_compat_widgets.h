#pragma once
// Qt Widgets' part of the few places where Qt 5.15 (the Windows build, for
// Windows 7) and Qt 6 (Linux) spell the same thing differently; the Qt Core
// part is qt_version_compat.h.

#include <QMouseEvent>
#include <QPoint>
#include <QtGlobal>

namespace pralix {

// Where a mouse event happened, in the receiving widget's coordinates.
inline QPoint MouseEventPoint(const QMouseEvent& event) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
  return event.position().toPoint();
#else
  return event.pos();
#endif
}

}  // namespace pralix
