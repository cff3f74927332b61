#pragma once
// A PostgreSQL 15 cluster of the test program's own, started once in a
// temporary folder (GoogleTest Environment) and removed at the end.  As root
// (CI) initdb and pg_ctl run as the postgres user, which PostgreSQL demands.
// Each test asks it for a fresh database.

#include <QString>
#include <gtest/gtest.h>

namespace pralix::desk::test {

class PostgresCluster : public ::testing::Environment {
 public:
  // Tests check what is committed, not what survives a power cut, and run
  // with fsync off; the ingest benchmark measures the real durability.
  enum class Durability { FsyncOff, FsyncOn };
  explicit PostgresCluster(Durability durability = Durability::FsyncOff) : durability_(durability) {}

  // The environment registered by the test program's main(), or null.
  static PostgresCluster* instance();
  static void setInstance(PostgresCluster* cluster);

  void SetUp() override;
  void TearDown() override;

  bool running() const { return running_; }
  // Why the cluster is not running (no binaries, initdb failed, ...).
  const QString& whyNot() const { return whyNot_; }
  quint16 port() const { return port_; }
  // The temporary folder that holds the cluster's data.
  const QString& folder() const { return folder_; }
  // Creates a new empty database and returns its URL (TCP on 127.0.0.1).
  QString createDatabase();
  // Runs SQL on the cluster's "postgres" database as the superuser.
  bool runSql(const QString& sql);

 private:
  bool run(const QStringList& command, QString* output);

  Durability durability_;
  QString folder_;
  QString binaries_;
  quint16 port_ = 0;
  bool asPostgresUser_ = false;
  bool running_ = false;
  QString whyNot_;
  int databases_ = 0;
};

}  // namespace pralix::desk::test
