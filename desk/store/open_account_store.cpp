#include "store/open_account_store.h"

#include <QDir>
#include <QFileInfo>

#include "store/migrations.h"
#include "store/schema_migrator.h"
#include "store/sql_account_store.h"
#include "store/sql_connection.h"

namespace pralix::desk {

std::unique_ptr<AccountStore> OpenAccountStore(const DatabaseUrl& url, qint64 nowMs) {
  if (url.kind == DatabaseUrl::Kind::Sqlite) {
    const QString folder = QFileInfo(url.path).absolutePath();
    if (!QDir().mkpath(folder)) throw StoreFailure(QStringLiteral("cannot make the folder %1").arg(folder));
  }
  std::unique_ptr<SqlDialect> dialect = DialectFor(url.kind);
  auto connection = std::make_unique<SqlConnection>(url, *dialect);
  MigrateSchema(*connection, *dialect, DeskMigrations(), nowMs);
  return std::make_unique<SqlAccountStore>(std::move(dialect), std::move(connection));
}

}  // namespace pralix::desk
