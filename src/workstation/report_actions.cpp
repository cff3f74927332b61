// The actions that make the printer print: its diagnostic printout, the X
// and Z reports and the periodic report.  X, Z and periodic reports show
// nothing whatever the printer answers; the model is that of the last test.

#include "messages/P20_Param79.h"
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
  // The dialog has judged the period already; a user interface that let a
  // refused one through still sends nothing the printer would misread.
  const PeriodCommandData command = BuildPeriodCommandData(from, to);
  if (!command.verdict.accepted()) {
    d_.ui.showInformation(command.verdict.message);
    return;
  }
  d_.formFP.FPCmd.ExecuteText(QStringLiteral("79"), command.data);
}

}  // namespace pralix
