#pragma once
// A drive C in a temporary folder, made once per fuzzing process, for the
// targets that read the fiscal-link software's files.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/linux/linux_drive_c.h"

namespace pralix::fuzz {

inline LinuxDriveC& ScratchDrive() {
  static QTemporaryDir root;
  static LinuxDriveC drive(root.path());
  return drive;
}

// Writes the file at the fixed path whole, making its folder.
inline QString PutFile(const char* windowsPath, const QByteArray& content) {
  const QString path = ScratchDrive().map(QString::fromLatin1(windowsPath));
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) std::abort();
  return path;
}

inline QByteArray GetFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) std::abort();
  return file.readAll();
}

}  // namespace pralix::fuzz
