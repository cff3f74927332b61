#include "store/sqlite_dialect.h"

namespace pralix::desk {

void SqliteDialect::configure(QSqlDatabase& database, const DatabaseUrl& url) const {
  database.setDatabaseName(url.path);
  database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
}

QStringList SqliteDialect::sessionSetup() const {
  // temp_store=MEMORY: the printers' upsert needs a statement journal (it
  // could fail half way through its many indexes), and on a file that was a
  // new file in /var/tmp created and deleted in every transaction.
  return {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL"),
          QStringLiteral("PRAGMA foreign_keys=ON"), QStringLiteral("PRAGMA temp_store=MEMORY")};
}

}  // namespace pralix::desk
