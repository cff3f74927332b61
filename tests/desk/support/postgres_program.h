#pragma once
// Runs one of PostgreSQL's programs (initdb, pg_ctl, psql, ...) from its
// binaries folder in a cluster's folder; as root through runuser as the
// postgres user, since PostgreSQL refuses to run as root.

#include <QString>
#include <QStringList>

namespace pralix::desk::test {

struct PostgresProgramPlace {
  QString binaries;  // Debian's /usr/lib/postgresql/15/bin
  QString folder;    // the working folder
  bool asPostgresUser = false;
};

// command: the program's name, then its arguments.  True when it ran and
// ended with 0 within timeoutMs; output gets what it printed, trimmed.
bool RunPostgresProgram(const PostgresProgramPlace& place, const QStringList& command, int timeoutMs, QString* output);

}  // namespace pralix::desk::test
