#include "workstation/environment_info.h"

#include <QFileInfo>
#include <stdexcept>

#include "workstation/ansi_text.h"
#include "workstation/fiscal_link_paths.h"
#include "workstation/text_lines.h"

namespace pralix {

namespace {

constexpr char kOlderInstallationVersion[] = "10.1";
constexpr char kNoVersion[] = "0.0";

}  // namespace

QString WindowsVersionText(const WindowsVersionSource& source) {
  const std::optional<quint32> minor = source.integerValue(QStringLiteral("CurrentMinorVersionNumber"));
  const std::optional<quint32> major = source.integerValue(QStringLiteral("CurrentMajorVersionNumber"));
  if (major && minor) return QString::number(*major) + u'.' + QString::number(*minor);
  return source.stringValue(QStringLiteral("CurrentVersion")).value_or(QString());
}

void FiscalLinkVersionText(MainFields& fields, const DriveC& drive) {
  QString& field = fields.LECurrJXVer.text;
  const QString versionIni = drive.map(QString::fromLatin1(kVersionIniPath));
  if (!QFileInfo(versionIni).isFile()) {
    field = QFileInfo(drive.map(QString::fromLatin1(kOstrik10Path))).isDir() ? QString::fromLatin1(kOlderInstallationVersion)
                                                                                : QString::fromLatin1(kNoVersion);
    return;
  }
  QList<QByteArray> lines;
  try {
    lines = SplitTextLines(ReadWholeFile(versionIni));
  } catch (const std::runtime_error&) {
    field = QString::fromLatin1(kNoVersion);  // there, but no version line can be read
    return;
  }
  // Each line before the version line sets "0.0" on its way; an empty file
  // leaves the field alone.
  for (const QByteArray& raw : lines) {
    const QString line = DecodeAnsiText(raw);  // the PC's ANSI code page
    if (!line.toUpper().contains(u"LINK")) {
      field = QString::fromLatin1(kNoVersion);
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    field = equals < 0 ? line : line.mid(equals + 1);
    return;
  }
}

void FillEnvironmentField(MainFields& fields, const WindowsVersionSource& source, const DriveC& drive) {
  FiscalLinkVersionText(fields, drive);
  fields.LECurrJXVer.text = WindowsVersionText(source) + u'/' + fields.LECurrJXVer.text;
}

}  // namespace pralix
