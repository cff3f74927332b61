#include "messages/window_fonts_window.h"

#include <QStringList>

namespace pralix {

namespace {

struct StandIns {
  const char* family;
  QFont::StyleHint hint;
  const char* lookAlikes;  // comma-separated, best first; metric-compatible ones lead
};

constexpr StandIns kStandIns[] = {
    {"Calibri", QFont::SansSerif, "Carlito,DejaVu Sans Condensed,Liberation Sans Narrow"},
    {"Courier New", QFont::TypeWriter, "Liberation Mono,Cousine,DejaVu Sans Mono"},
    {"Lucida Console", QFont::TypeWriter, "Liberation Mono,DejaVu Sans Mono"},
    {"Verdana", QFont::SansSerif, "DejaVu Sans,Bitstream Vera Sans"},
    {"MS Sans Serif", QFont::SansSerif, "Liberation Sans,Arimo,DejaVu Sans"},
};

void InstallStandIns() {
  static const bool installed = [] {
    for (const StandIns& s : kStandIns) {
      QFont::insertSubstitutions(QString::fromLatin1(s.family), QString::fromLatin1(s.lookAlikes).split(u','));
    }
    return true;
  }();
  (void)installed;
}

}  // namespace

QFont WindowFont(const char* family, int pixels, bool bold) {
  InstallStandIns();
  QFont font(QString::fromLatin1(family));
  for (const StandIns& s : kStandIns) {
    if (qstrcmp(s.family, family) == 0) font.setStyleHint(s.hint);
  }
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

}  // namespace pralix
