#include "platform/linux/linux_drive_c.h"

#include <QDir>
#include <QFileInfo>

namespace pralix {

namespace {

// The entry of `dir` named `name`, or the first one that matches it ignoring
// case; `name` itself when neither exists (the caller then finds nothing).
QString ResolveComponent(const QDir& dir, const QString& name) {
  if (QFileInfo::exists(dir.filePath(name))) return name;
  const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& entry : entries)
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
  return name;
}

}  // namespace

LinuxDriveC::LinuxDriveC(QString root) : root_(std::move(root)) {}

QString LinuxDriveC::map(const QString& windowsPath) const {
  QString rest = windowsPath;
  const bool onDriveC = rest.startsWith(u"C:", Qt::CaseInsensitive);
  if (onDriveC) rest = rest.mid(2);
  const QStringList parts = rest.split(u'\\', Qt::SkipEmptyParts);
  if (!onDriveC) return parts.join(u'/');
  QString path = root_;
  for (const QString& part : parts) path = QDir(path).filePath(ResolveComponent(QDir(path), part));
  return path;
}

QList<FolderEntry> LinuxDriveC::findEntries(const QString& windowsFolder, const QString& pattern) const {
  QList<FolderEntry> entries;
  const QDir folder(map(windowsFolder));
  // Name filters match ignoring case, as a Windows search does.
  const QFileInfoList found = folder.entryInfoList({pattern}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& info : found) entries.append({info.fileName(), info.isDir(), info.fileName().startsWith(u'.'), false});
  return entries;
}

QString LinuxDriveC::RootFromEnvironment() {
  const QString configured = qEnvironmentVariable("PRALIX_DRIVE_C");
  if (!configured.isEmpty()) return configured;
  return QDir::homePath() + QStringLiteral("/.wine/drive_c");
}

}  // namespace pralix
