#include "desk_load/filled_fleet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <chrono>

namespace pralix::bench {
namespace {

const QString kDatabaseName = QStringLiteral("desk");

QString MarkerPath(const QString& folder) { return folder + QStringLiteral("/filled"); }

QString ReadMarker(const QString& folder) {
  QFile marker(MarkerPath(folder));
  return marker.open(QIODevice::ReadOnly) ? QString::fromUtf8(marker.readAll()).trimmed() : QString();
}

// Runs pralix-desk-fill on url (its progress goes to this program's
// standard error) and, when it succeeded, leaves the marker.
void Fill(FilledFleet& fleet, const QString& folder, const FleetSize& size) {
  QProcess fill;
  fill.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  const auto start = std::chrono::steady_clock::now();
  fill.start(QStringLiteral(PRALIX_DESK_FILL_BIN),
             {QStringLiteral("--database"), fleet.url, QStringLiteral("--printers"), QString::number(size.printers),
              QStringLiteral("--records"), QString::number(size.records), QStringLiteral("--seed"), QString::number(size.seed)});
  fill.waitForFinished(-1);
  fleet.fillSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  fleet.fillReport = QString::fromUtf8(fill.readAllStandardOutput()).trimmed();
  if (fill.exitStatus() != QProcess::NormalExit || fill.exitCode() != 0) {
    fleet.error = QStringLiteral("pralix-desk-fill failed on %1 (exit %2)").arg(fleet.url).arg(fill.exitCode());
    fleet.url.clear();
    return;
  }
  QSaveFile marker(MarkerPath(folder));
  if (!marker.open(QIODevice::WriteOnly) || marker.write(fleet.fillReport.toUtf8() + '\n') < 0 || !marker.commit())
    fleet.error = QStringLiteral("cannot write %1 (the fill will be made again next time)").arg(MarkerPath(folder));
}

}  // namespace

QString FleetSize::key() const { return QStringLiteral("p%1-r%2-s%3").arg(printers).arg(records).arg(seed); }

FilledFleet FilledSqliteFleet(const QString& folder, const FleetSize& size) {
  FilledFleet fleet;
  const QString file = folder + QStringLiteral("/desk.sqlite");
  fleet.url = QStringLiteral("sqlite:") + file;
  fleet.fillReport = ReadMarker(folder);
  fleet.reused = !fleet.fillReport.isEmpty();
  if (!fleet.reused) {
    QDir().mkpath(folder);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) QFile::remove(file + QLatin1String(suffix));
    Fill(fleet, folder, size);
  }
  for (const char* suffix : {"", "-wal"}) fleet.diskBytes += QFile(file + QLatin1String(suffix)).size();
  return fleet;
}

FilledFleet FilledPostgresFleet(KeptPostgresCluster& cluster, const QString& folder, const FleetSize& size) {
  FilledFleet fleet;
  fleet.url = cluster.url(kDatabaseName);
  fleet.fillReport = ReadMarker(folder);
  fleet.reused = !fleet.fillReport.isEmpty();
  if (!fleet.reused) {
    if (!cluster.recreateDatabase(kDatabaseName)) {
      fleet.error = cluster.whyNot();
      fleet.url.clear();
      return fleet;
    }
    Fill(fleet, folder, size);
  }
  fleet.diskBytes = cluster.databaseBytes(kDatabaseName);
  return fleet;
}

}  // namespace pralix::bench
