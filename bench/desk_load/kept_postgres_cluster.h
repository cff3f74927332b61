#pragma once
// A PostgreSQL 15 cluster kept in a folder of the build between runs, with
// fsync on (as a desk runs it), so that a fleet filled once serves every
// later run of the page benchmark.  Started as the desk tests start theirs
// (tests/desk/support/postgres_cluster.*): initdb with trust on loopback,
// run as the postgres user when this runs as root.

#include <QString>

namespace pralix::bench {

class KeptPostgresCluster {
 public:
  // Makes the cluster in folder/data unless it is there, and starts it on a
  // free port (stopping first one left running by a run that was killed).
  explicit KeptPostgresCluster(const QString& folder);
  // Stops it (fast: the sessions end, what is committed stays).
  ~KeptPostgresCluster();
  KeptPostgresCluster(const KeptPostgresCluster&) = delete;
  KeptPostgresCluster& operator=(const KeptPostgresCluster&) = delete;

  bool running() const { return running_; }
  const QString& whyNot() const { return whyNot_; }
  QString url(const QString& database) const;
  // A new empty database of that name, dropping one there was.
  bool recreateDatabase(const QString& database);
  // Bytes its data folder takes on the disk (with the write-ahead log),
  // and what PostgreSQL counts for one database (-1 when it cannot say).
  qint64 diskBytes() const;
  qint64 databaseBytes(const QString& database) const;

 private:
  bool run(const QStringList& command, QString* output) const;
  QStringList where() const;
  bool pgCtl(const QStringList& arguments, QString* output) const;

  QString folder_;
  QString binaries_ = QStringLiteral("/usr/lib/postgresql/15/bin");
  bool asPostgresUser_ = false;
  quint16 port_ = 0;
  bool running_ = false;
  QString whyNot_;
};

// Bytes the files under folder take on the disk (allocated blocks).
qint64 DiskBytesUnder(const QString& folder);

}  // namespace pralix::bench
