#include "store/postgresql_dialect.h"

namespace pralix::desk {

void PostgresqlDialect::configure(QSqlDatabase& database, const DatabaseUrl& url) const {
  database.setHostName(url.host);
  database.setPort(url.port);
  database.setUserName(url.user);
  database.setPassword(url.password);
  database.setDatabaseName(url.database);
  database.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=pralix-desk"));
}

QStringList PostgresqlDialect::lockForMigration() const {
  return {QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kMigrationLock)};
}

}  // namespace pralix::desk
