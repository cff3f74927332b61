#include "workstation/workstation.h"

#include <exception>

#include "build_config.h"
#include "link/P00_fpsend.h"
#include "workstation/diag_upload.h"
#include "workstation/fiscal_link_files.h"
#include "workstation/serial_ports.h"

namespace pralix {

Workstation::Workstation(WorkstationDeps deps) : d_(std::move(deps)) { LinkPort = &d_.comPort; }

bool Workstation::StartUp(const QStringList& namedPorts) {
  d_.processes.stopFiscalLink();
  fields_.CBFPIndex = 0;
  fields_.MemoPorts = namedPorts.isEmpty() ? ListSerialPorts(d_.deviceMap) : namedPorts;
  if (fields_.MemoPorts.isEmpty()) {
    d_.ui.showInformation(NoPortMessage());
    d_.ui.requestQuit();
    return false;
  }
  SetActionPanelsVisible(false);
  ClearLinkOutbox(d_.driveC);
  return true;
}

QChar Workstation::FormKeyPress(QChar key) {
  void (Workstation::*action)() = nullptr;
  switch (key.unicode()) {
    case 27:
    case u'0':
      d_.ui.closeMainWindow();
      return key;
    case u'1': action = &Workstation::RunConnectivityTest; break;
    case u'2': action = &Workstation::ReportDiagDataUpload; break;
    case u'3': action = &Workstation::FindPrinter; break;
    case u'4': action = &Workstation::PrintDiagnostic; break;
    case u'5': action = &Workstation::PrintXReport; break;
    case u'6': action = &Workstation::PrintZReport; break;
    case u'7': action = &Workstation::PrintPeriodicReport; break;
    default: return key;
  }
  try {
    (this->*action)();
  } catch (const std::exception& e) {
    d_.ui.showError(QString::fromUtf8(e.what()));
  }
  return QChar();
}

void Workstation::LabelWebClick() { d_.processes.openUrl(QStringLiteral(PRALIX_WEB_ADDRESS)); }

void Workstation::ReportDiagDataUpload() { d_.ui.showInformation(DiagDataReportText(fields_.DiagDataSent)); }

}  // namespace pralix
