#include "store/schema_migrator.h"

#include <QSqlQuery>
#include <QVariant>

#include "store/desk_store.h"

namespace pralix::desk {
namespace {

int CurrentVersion(const SqlConnection& connection) {
  QSqlQuery query(connection.database());
  Prepare(query, QStringLiteral("SELECT MAX(version) FROM schema_migrations"));
  Execute(query);
  return query.next() ? query.value(0).toInt() : 0;
}

void Apply(const SqlConnection& connection, const SqlDialect& dialect, const Migration& migration, qint64 nowMs) {
  for (const QString& statement : migration.statements) connection.execute(dialect.expand(statement));
  QSqlQuery record(connection.database());
  Prepare(record, QStringLiteral("INSERT INTO schema_migrations (version, name, applied_at) VALUES (?, ?, ?)"));
  record.addBindValue(migration.version);
  record.addBindValue(QString::fromUtf8(migration.name));
  record.addBindValue(qlonglong(nowMs));
  Execute(record);
}

}  // namespace

int MigrateSchema(const SqlConnection& connection, const SqlDialect& dialect,
                  const std::vector<Migration>& migrations, qint64 nowMs) {
  connection.execute(dialect.beginWrite());
  try {
    for (const QString& statement : dialect.lockForMigration()) connection.execute(statement);
    connection.execute(dialect.expand(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS schema_migrations ("
        " version INTEGER PRIMARY KEY, name TEXT NOT NULL, applied_at {int64} NOT NULL)")));
    const int before = CurrentVersion(connection);
    const int latest = migrations.empty() ? 0 : migrations.back().version;
    if (before > latest)
      throw StoreFailure(QStringLiteral("the database's schema is version %1, newer than this pralix-desk knows "
                                        "(%2): run a newer pralix-desk")
                             .arg(before)
                             .arg(latest));
    for (const Migration& migration : migrations)
      if (migration.version > before) Apply(connection, dialect, migration, nowMs);
    connection.execute(QStringLiteral("COMMIT"));
    return before;
  } catch (...) {
    QSqlQuery rollback(connection.database());
    rollback.exec(QStringLiteral("ROLLBACK"));
    throw;
  }
}

}  // namespace pralix::desk
