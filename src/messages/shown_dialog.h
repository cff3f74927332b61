#pragma once
// A message dialog as the user saw it: its caption and its text.

#include <QString>

namespace pralix {

struct ShownDialog {
  QString caption;
  QString text;
};

}  // namespace pralix
