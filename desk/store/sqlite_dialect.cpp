#include "store/sqlite_dialect.h"

namespace pralix::desk {

void SqliteDialect::configure(QSqlDatabase& database, const DatabaseUrl& url) const {
  database.setDatabaseName(url.path);
  database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
}

QStringList SqliteDialect::sessionSetup() const {
  return {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL"),
          QStringLiteral("PRAGMA foreign_keys=ON")};
}

}  // namespace pralix::desk
