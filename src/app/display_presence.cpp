#include "app/display_presence.h"

#include <QStringList>

namespace pralix {
namespace {

// "xcb", "wayland", "wayland-egl"... talk to a display server; offscreen,
// minimal, vnc, linuxfb, eglfs and the rest do not.  Options after ":" are
// the platform's own.
bool NeedsDisplayServer(const QString& platform) {
  const QString name = platform.section(u':', 0, 0).trimmed();
  return name.isEmpty() || name == QLatin1String("xcb") || name.startsWith(QLatin1String("wayland"));
}

}  // namespace

bool LacksDisplay(const DisplaySetting& setting) {
  if (!setting.display.isEmpty() || !setting.waylandDisplay.isEmpty() || setting.displayOption) return false;
  const QString asked = setting.platformOption.isEmpty() ? setting.qpaPlatform : setting.platformOption;
  const QStringList platforms = asked.split(u';', Qt::SkipEmptyParts);
  for (const QString& platform : platforms)
    if (!NeedsDisplayServer(platform)) return false;
  return true;
}

}  // namespace pralix
