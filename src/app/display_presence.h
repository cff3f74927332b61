#pragma once
// Whether the window can open at all on a Linux desktop: Qt's X11 and
// Wayland platforms abort the program when there is no display to talk to,
// so the tool looks first and says what to do instead.

#include <QString>

namespace pralix {

struct DisplaySetting {
  QString platformOption;  // -platform on the command line, may be empty
  QString qpaPlatform;     // QT_QPA_PLATFORM
  QString display;         // DISPLAY
  QString waylandDisplay;  // WAYLAND_DISPLAY
  bool displayOption = false;  // -display on the command line
};

// True when the window would need a display and none is named: no DISPLAY,
// no WAYLAND_DISPLAY, no -display, and every platform asked for (the option
// wins over the variable; a variable may list several, separated by ";") is
// X11 or Wayland, or none is asked for at all.
bool LacksDisplay(const DisplaySetting& setting);

inline constexpr char kNoDisplayMessage[] =
    "pralix: there is no display; `pralix test` runs the test without a window";

}  // namespace pralix
