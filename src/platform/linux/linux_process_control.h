#pragma once
// Processes on Linux: the fiscal-link software (run under Wine, its
// processes carry its image name) is ended with SIGKILL; web addresses go to
// xdg-open.

#include <QList>
#include <QString>

#include "interfaces/process_control.h"

namespace pralix {

class LinuxProcessControl final : public ProcessControl {
 public:
  void stopFiscalLink() override;
  void openUrl(const QString& url) override;
};

// Ids of the processes under procDir (normally /proc) whose name, or the
// program name of their command line, begins with "Ostrik", ignoring case as
// the Windows image-name match does.  Our own process is never among them.
QList<qint64> FiscalLinkProcessIds(const QString& procDir);

}  // namespace pralix
