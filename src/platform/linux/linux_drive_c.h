#pragma once
// Drive C on Linux: a folder standing for "C:\", by default the Wine
// prefix's drive_c.  Path components are matched ignoring case where the
// exact name is missing, as Windows (and Wine) would find them.

#include <QString>

#include "interfaces/drive_c.h"

namespace pralix {

class LinuxDriveC final : public DriveC {
 public:
  explicit LinuxDriveC(QString root);

  QString map(const QString& windowsPath) const override;
  // A name starting with "." counts as hidden; Linux has no system files.
  QList<FolderEntry> findEntries(const QString& windowsFolder, const QString& pattern) const override;

  const QString& root() const { return root_; }

  // PRALIX_DRIVE_C, or $HOME/.wine/drive_c when it is not set.
  static QString RootFromEnvironment();

 private:
  QString root_;
};

}  // namespace pralix
