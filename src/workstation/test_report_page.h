#pragma once
// The outcome of one "1. Test" as a self-contained HTML page that a
// technician can hand on: it opens offline in any browser (no scripts, no
// external files) and prints on one A4 sheet.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "messages/shown_dialog.h"
#include "workstation/main_fields.h"

namespace pralix {

struct TestReportFacts {
  bool found = false;           // the printer answered on one of the ports
  QString toolVersion;          // this program's version, e.g. 10.2.350
  QDateTime time;               // when the test ended, PC clock
  QList<ShownDialog> dialogs;   // the message dialogs shown during the test
};

// The page as UTF-8: the model and its speed, the port, the versions and the
// time, the eleven fields with the implausible ones marked red (and with a
// mark that survives black-and-white printing), the six header lines and the
// dialogs.  Every value from the printer or the PC is HTML-escaped.
QByteArray TestReportPage(const MainFields& fields, const TestReportFacts& facts);

}  // namespace pralix
