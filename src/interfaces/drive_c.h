#pragma once
// Where the fiscal-link software's fixed "C:\..." paths are on this PC.  On
// Windows they are used as they are; on Linux drive C is a folder (a Wine
// prefix's drive_c by default, or PRALIX_DRIVE_C).

#include <QList>
#include <QString>
#include <memory>

namespace pralix {

struct FolderEntry {
  QString name;
  bool directory = false;
  bool hidden = false;
  bool system = false;
};

class DriveC {
 public:
  virtual ~DriveC() = default;
  // The local path of a fixed path such as "C:\Belmora\Appl\Link.ini".
  virtual QString map(const QString& windowsPath) const = 0;
  // Every entry of the folder (a fixed path) whose name matches the wildcard
  // pattern ("*.jxx"), directories, hidden and system ones included.  Empty
  // when the folder is missing.
  virtual QList<FolderEntry> findEntries(const QString& windowsFolder, const QString& pattern) const = 0;
};

std::unique_ptr<DriveC> MakeSystemDriveC();

}  // namespace pralix
