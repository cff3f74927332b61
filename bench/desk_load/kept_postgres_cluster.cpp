#include "desk_load/kept_postgres_cluster.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>

#include "support/postgres_program.h"

namespace pralix::bench {
namespace {

quint16 FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

}  // namespace

qint64 DiskBytesUnder(const QString& folder) {
  qint64 bytes = 0;
  QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    struct stat info {};
    if (::lstat(QFile::encodeName(files.next()).constData(), &info) == 0) bytes += qint64(info.st_blocks) * 512;
  }
  return bytes;
}

KeptPostgresCluster::KeptPostgresCluster(const QString& folder) : folder_(folder) {
  if (!QFileInfo::exists(binaries_ + QStringLiteral("/initdb"))) {
    whyNot_ = QStringLiteral("PostgreSQL 15 is not installed (no %1/initdb)").arg(binaries_);
    return;
  }
  asPostgresUser_ = geteuid() == 0;
  QDir().mkpath(folder_);
  if (asPostgresUser_) QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:postgres"), folder_});
  QString output;
  const QString data = folder_ + QStringLiteral("/data");
  if (!QFileInfo::exists(data + QStringLiteral("/PG_VERSION")) &&
      !run({QStringLiteral("initdb"), QStringLiteral("-D"), data, QStringLiteral("-A"), QStringLiteral("trust"),
            QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("--no-sync")},
           &output)) {
    whyNot_ = QStringLiteral("initdb failed: ") + output;
    return;
  }
  if (pgCtl({QStringLiteral("status")}, &output)) pgCtl({QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("stop")}, &output);
  port_ = FreePort();
  const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1").arg(port_).arg(folder_);
  if (!pgCtl({QStringLiteral("-o"), options, QStringLiteral("-l"), folder_ + QStringLiteral("/log"), QStringLiteral("-w"),
              QStringLiteral("start")},
             &output)) {
    whyNot_ = QStringLiteral("pg_ctl start failed: ") + output;
    return;
  }
  running_ = true;
}

KeptPostgresCluster::~KeptPostgresCluster() {
  QString output;
  if (running_) pgCtl({QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("stop")}, &output);
}

QString KeptPostgresCluster::url(const QString& database) const {
  return QStringLiteral("postgresql://postgres@127.0.0.1:%1/%2").arg(port_).arg(database);
}

bool KeptPostgresCluster::recreateDatabase(const QString& database) {
  QString output;
  run(QStringList{QStringLiteral("dropdb"), QStringLiteral("--if-exists")} + where() + QStringList{database}, &output);
  if (run(QStringList{QStringLiteral("createdb")} + where() + QStringList{database}, &output)) return true;
  whyNot_ = QStringLiteral("createdb failed: ") + output;
  return false;
}

qint64 KeptPostgresCluster::diskBytes() const { return DiskBytesUnder(folder_ + QStringLiteral("/data")); }

qint64 KeptPostgresCluster::databaseBytes(const QString& database) const {
  QString output;
  bool ok = false;
  const QString sql = QStringLiteral("SELECT pg_database_size('%1')").arg(database);
  if (!run(QStringList{QStringLiteral("psql")} + where() + QStringList{QStringLiteral("-Atc"), sql, QStringLiteral("postgres")}, &output))
    return -1;
  const qint64 bytes = output.toLongLong(&ok);
  return ok ? bytes : -1;
}

QStringList KeptPostgresCluster::where() const {
  return {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port_), QStringLiteral("-U"),
          QStringLiteral("postgres")};
}

bool KeptPostgresCluster::pgCtl(const QStringList& arguments, QString* output) const {
  return run(QStringList{QStringLiteral("pg_ctl"), QStringLiteral("-D"), folder_ + QStringLiteral("/data")} + arguments, output);
}

bool KeptPostgresCluster::run(const QStringList& command, QString* output) const {
  return desk::test::RunPostgresProgram({binaries_, folder_, asPostgresUser_}, command, 600000, output);
}

}  // namespace pralix::bench
