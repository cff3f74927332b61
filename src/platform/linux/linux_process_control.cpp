#include "platform/linux/linux_process_control.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <signal.h>
#include <unistd.h>

namespace pralix {

namespace {

bool IsFiscalLinkName(const QString& name) {
  return name.startsWith(QLatin1String(kFiscalLinkProcessPrefix), Qt::CaseInsensitive);
}

QByteArray ReadProcFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The image name a program was started by: the last part of argv[0], which
// under Wine is the Windows path of the .exe ("C:\Ostrik\Ostrik.exe").
QString ImageName(const QByteArray& cmdline) {
  const QString argv0 = QString::fromLocal8Bit(cmdline.left(cmdline.indexOf('\0')));
  return argv0.mid(qMax(argv0.lastIndexOf(u'/'), argv0.lastIndexOf(u'\\')) + 1);
}

}  // namespace

QList<qint64> FiscalLinkProcessIds(const QString& procDir) {
  QList<qint64> ids;
  const qint64 self = ::getpid();
  const QStringList entries = QDir(procDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    bool numeric = false;
    const qint64 pid = entry.toLongLong(&numeric);
    if (!numeric || pid <= 0 || pid == self) continue;
    // comm is the name the process runs under (its first 15 bytes); a Wine
    // process may run under the loader's name but keeps its .exe in argv[0].
    const QString dir = procDir + u'/' + entry;
    const QString comm = QString::fromUtf8(ReadProcFile(dir + QStringLiteral("/comm"))).trimmed();
    if (IsFiscalLinkName(comm) || IsFiscalLinkName(ImageName(ReadProcFile(dir + QStringLiteral("/cmdline"))))) ids << pid;
  }
  return ids;
}

void LinuxProcessControl::stopFiscalLink() {
  for (const qint64 pid : FiscalLinkProcessIds(QStringLiteral("/proc"))) ::kill(pid_t(pid), SIGKILL);  // outcome ignored
}

void LinuxProcessControl::openUrl(const QString& url) { QProcess::startDetached(QStringLiteral("xdg-open"), {url}); }

}  // namespace pralix
