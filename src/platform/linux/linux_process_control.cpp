#include "platform/linux/linux_process_control.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <signal.h>
#include <unistd.h>

#include "workstation/fiscal_link_paths.h"

namespace pralix {

QList<qint64> FiscalLinkProcessIds(const QString& procDir) {
  QList<qint64> ids;
  const qint64 self = ::getpid();
  const QStringList entries = QDir(procDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    bool numeric = false;
    const qint64 pid = entry.toLongLong(&numeric);
    if (!numeric || pid <= 0 || pid == self) continue;
    // comm holds the name the process runs under (its first 15 bytes).
    QFile comm(procDir + u'/' + entry + QStringLiteral("/comm"));
    if (!comm.open(QIODevice::ReadOnly)) continue;  // gone meanwhile
    const QString name = QString::fromUtf8(comm.readAll()).trimmed();
    if (name.startsWith(QLatin1String(kFiscalLinkProcessPrefix), Qt::CaseInsensitive)) ids << pid;
  }
  return ids;
}

void LinuxProcessControl::stopFiscalLink() {
  for (const qint64 pid : FiscalLinkProcessIds(QStringLiteral("/proc"))) ::kill(pid_t(pid), SIGKILL);  // outcome ignored
}

void LinuxProcessControl::openUrl(const QString& url) { QProcess::startDetached(QStringLiteral("xdg-open"), {url}); }

}  // namespace pralix
