#pragma once
// The windows name the fonts the tool was designed with (Calibri, Courier
// New, Verdana, Lucida Console, MS Sans Serif).  Where a family is missing,
// as on most Linux desktops, a look-alike of similar width stands in, so that
// captions still fit their panels.

#include <QFont>

namespace pralix {

// A font of the family at a height in pixels.  Installs the stand-ins on first use.
QFont WindowFont(const char* family, int pixels, bool bold = false);

}  // namespace pralix
