// Windows build only (uses Qt): drive C is the real one, so the fixed paths
// are used as they stand; the folder search is the Win32 one of this folder.
// Never compiled on Linux.

#include <QString>

#include "interfaces/drive_c.h"
#include "platform/win/win_file_search.h"

namespace pralix {

namespace {

class WinDriveC final : public DriveC {
 public:
  QString map(const QString& windowsPath) const override { return windowsPath; }
  QList<FolderEntry> findEntries(const QString& windowsFolder, const QString& pattern) const override {
    QList<FolderEntry> entries;
    for (const win::FoundEntry& e : win::FindEntries(windowsFolder.toStdWString(), pattern.toStdWString()))
      entries.append({QString::fromStdWString(e.name), e.directory, e.hidden, e.system});
    return entries;
  }
};

}  // namespace

std::unique_ptr<DriveC> MakeSystemDriveC() { return std::make_unique<WinDriveC>(); }

}  // namespace pralix
