#pragma once
// The DiagData record: ten name=value lines taken from the main window's
// fields after a test, handed to the upload and then dropped.

#include <QStringList>

#include "workstation/main_fields.h"

namespace pralix {

// ibfm, pib, fw, jx, tg, bpdi, plu, cp, diff, h6l in this order; the h6l value
// is the six header lines, each ending in CR LF, followed by "DIAG\n", the
// record's end marker.  Empty fields give empty values.
QStringList BuildDiagData(const MainFields& fields);

}  // namespace pralix
