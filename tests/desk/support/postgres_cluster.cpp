#include "support/postgres_cluster.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <unistd.h>

#include "support/postgres_program.h"

namespace pralix::desk::test {
namespace {

PostgresCluster*& Registered() {
  static PostgresCluster* cluster = nullptr;
  return cluster;
}

quint16 FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

}  // namespace

PostgresCluster* PostgresCluster::instance() { return Registered(); }
void PostgresCluster::setInstance(PostgresCluster* cluster) { Registered() = cluster; }

bool PostgresCluster::run(const QStringList& command, QString* output) {
  return RunPostgresProgram({binaries_, folder_, asPostgresUser_}, command, 120000, output);
}

void PostgresCluster::SetUp() {
  binaries_ = QStringLiteral("/usr/lib/postgresql/15/bin");
  if (!QFileInfo::exists(binaries_ + QStringLiteral("/initdb"))) {
    whyNot_ = QStringLiteral("PostgreSQL 15 is not installed (no ") + binaries_ + QStringLiteral("/initdb)");
    return;
  }
  asPostgresUser_ = geteuid() == 0;
  QTemporaryDir temporary(QDir::tempPath() + QStringLiteral("/pralix-desk-pg-XXXXXX"));
  temporary.setAutoRemove(false);
  folder_ = temporary.path();
  if (asPostgresUser_) {
    QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:postgres"), folder_});
  }
  QString output;
  const QString data = folder_ + QStringLiteral("/data");
  if (!run({QStringLiteral("initdb"), QStringLiteral("-D"), data, QStringLiteral("-A"), QStringLiteral("trust"),
            QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("--no-sync")},
           &output)) {
    whyNot_ = QStringLiteral("initdb failed: ") + output;
    return;
  }
  port_ = FreePort();
  QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1").arg(port_).arg(folder_);
  if (durability_ == Durability::FsyncOff) options += QStringLiteral(" -c fsync=off");
  if (!run({QStringLiteral("pg_ctl"), QStringLiteral("-D"), data, QStringLiteral("-o"), options, QStringLiteral("-l"),
            folder_ + QStringLiteral("/log"), QStringLiteral("-w"), QStringLiteral("start")},
           &output)) {
    whyNot_ = QStringLiteral("pg_ctl start failed: ") + output;
    return;
  }
  running_ = true;
}

void PostgresCluster::TearDown() {
  if (folder_.isEmpty()) return;
  QString output;
  if (running_)
    run({QStringLiteral("pg_ctl"), QStringLiteral("-D"), folder_ + QStringLiteral("/data"), QStringLiteral("-m"),
         QStringLiteral("immediate"), QStringLiteral("stop")},
        &output);
  running_ = false;
  QDir(folder_).removeRecursively();
}

QString PostgresCluster::createDatabase() {
  const QString name = QStringLiteral("desk_%1").arg(++databases_);
  QString output;
  if (!run({QStringLiteral("createdb"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
            QString::number(port_), QStringLiteral("-U"), QStringLiteral("postgres"), name},
           &output)) {
    ADD_FAILURE() << "createdb failed: " << output.toStdString();
    return QString();
  }
  return QStringLiteral("postgresql://postgres@127.0.0.1:%1/%2").arg(port_).arg(name);
}

}  // namespace pralix::desk::test

namespace pralix::desk::test {

bool PostgresCluster::runSql(const QString& sql) {
  QString output;
  const bool ran = run({QStringLiteral("psql"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                        QString::number(port_), QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"),
                        QStringLiteral("postgres"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                        QStringLiteral("-c"), sql},
                       &output);
  if (!ran) ADD_FAILURE() << "psql failed: " << output.toStdString();
  return ran;
}

}  // namespace pralix::desk::test
