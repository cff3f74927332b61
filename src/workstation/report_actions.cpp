// The actions that make the printer print: its diagnostic printout, the X
// and Z reports and the periodic report.  X, Z and periodic reports show
// nothing whatever the printer answers; the model is that of the last test.

#include "workstation/model_profile.h"
#include "workstation/workstation.h"

namespace pralix {

void Workstation::PrintDiagnostic() { d_.formFP.Cmd71(); }

void Workstation::PrintXReport() {
  d_.formFP.FPCmd.Execute(69, ProfileOf(fields_.ModelIndex).xReportData);
}

void Workstation::PrintZReport() {
  d_.formFP.FPCmd.Execute(69, ProfileOf(fields_.ModelIndex).zReportData);
}

void Workstation::PrintPeriodicReport() {
  QDate from, to;
  if (!d_.ui.askPeriod(&from, &to)) return;
  const QString data = from.toString(QStringLiteral("ddMMyy")) + u',' + to.toString(QStringLiteral("ddMMyy"));
  d_.formFP.FPCmd.ExecuteText(QStringLiteral("79"), data.toLatin1());
}

}  // namespace pralix
