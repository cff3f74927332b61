#include "workstation/fiscal_link_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "workstation/ansi_text.h"
#include "workstation/fiscal_link_paths.h"
#include "workstation/text_lines.h"

namespace pralix {

QString LinkPortName(const QString& portField) {
  // The tag never holds a "/", but a Linux port name does (/dev/ttyUSB0/USB),
  // so the tag is cut at the last one.  Without any "/" there is no port.
  const qsizetype slash = portField.lastIndexOf(u'/');
  return slash < 0 ? QString() : portField.left(slash);
}

QByteArray RewriteLinkPortLine(const QByteArray& line, const QByteArray& port) {
  const qsizetype at = line.indexOf("=COM");
  if (at < 0) return line;
  return line.left(at + 1) + port;
}

void UpdateLinkPort(const MainFields& fields, const DriveC& drive) {
  const QString path = drive.map(QString::fromLatin1(kLinkIniPath));
  if (!QFileInfo(path).isFile()) return;
  const QString port = LinkPortName(fields.LEFPPort.text);
  // An empty port would leave the software without one; keep its own.
  if (port.isEmpty()) return;

  // The file is kept as bytes, so lines the tool does not touch stay exactly
  // as they were whatever their code page; only the port is encoded.
  const QByteArray portBytes = EncodeAnsiText(port);
  QList<QByteArray> lines = SplitTextLines(ReadWholeFile(path));
  for (QByteArray& line : lines) line = RewriteLinkPortLine(line, portBytes);
  ReplaceFileContent(path, JoinCrLfLines(lines));
}

void ClearLinkOutbox(const DriveC& drive) {
  if (!QFileInfo(drive.map(QString::fromLatin1(kBelmoraRoot))).isDir()) return;
  const QString folder = QString::fromLatin1(kLinkOutboxPath);
  QStringList doomed;
  for (const FolderEntry& entry : drive.findEntries(folder, QString::fromLatin1(kLinkOutboxPattern)))
    if (!entry.directory && !entry.hidden && !entry.system) doomed << entry.name;
  const QDir outbox(drive.map(folder));
  for (const QString& name : doomed) QFile::remove(outbox.filePath(name));
}

}  // namespace pralix
