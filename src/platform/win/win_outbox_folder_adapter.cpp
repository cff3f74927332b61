// Windows build only (uses Qt): the outbox folder under the user's local
// application data.  Never compiled on Linux.

#include <QString>

#include "interfaces/outbox_folder.h"
#include "platform/win/win_local_app_data.h"

namespace pralix {

QString SystemOutboxFolder() {
  // Qt's file classes take the backslashes of a Windows path as they are.
  return QString::fromStdWString(win::OutboxFolderUnder(win::LocalAppDataFolder()));
}

}  // namespace pralix
