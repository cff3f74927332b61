// Windows build only (uses Qt): process control over the shell starts of
// this folder.  Never compiled on Linux.

#include <QString>

#include "interfaces/process_control.h"
#include "platform/win/win_processes.h"

namespace pralix {

namespace {

class WinProcessControl final : public ProcessControl {
 public:
  void stopFiscalLink() override { win::StartTaskkillOfFiscalLink(); }
  void openUrl(const QString& url) override { win::ShellOpen(url.toStdWString()); }
};

}  // namespace

std::unique_ptr<ProcessControl> MakeSystemProcessControl() { return std::make_unique<WinProcessControl>(); }

}  // namespace pralix
