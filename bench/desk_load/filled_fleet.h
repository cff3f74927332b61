#pragma once
// A desk database filled by pralix-desk-fill with a fleet of a given shape,
// made once and kept in a folder named after the shape, so that only the
// first run pays for the fill.  A file "filled" (the fill's own report,
// written whole and renamed into place once the fill has succeeded) tells a
// finished database from one whose fill was cut short, which is made again.

#include <QString>

#include "desk_load/kept_postgres_cluster.h"

namespace pralix::bench {

struct FleetSize {
  int printers = 100000;
  qint64 records = 2000000;
  quint64 seed = 1;

  // The folder name for this shape: "p100000-r2000000-s1".
  QString key() const;
};

struct FilledFleet {
  QString url;           // empty when it could not be had (see error)
  QString fillReport;    // pralix-desk-fill's line: its sizes and times
  bool reused = false;   // filled by an earlier run
  double fillSeconds = 0;  // this run's fill, wall clock (0 when reused)
  qint64 diskBytes = 0;  // the database's files
  QString error;
};

// An SQLite file in folder (made if needed).
FilledFleet FilledSqliteFleet(const QString& folder, const FleetSize& size);
// The database "desk" in the running cluster; its marker beside the cluster's data.
FilledFleet FilledPostgresFleet(KeptPostgresCluster& cluster, const QString& folder, const FleetSize& size);

}  // namespace pralix::bench
