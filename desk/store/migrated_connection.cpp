#include "store/migrated_connection.h"

#include <QDir>
#include <QFileInfo>

#include "store/migrations.h"
#include "store/schema_migrator.h"

namespace pralix::desk {

MigratedConnection OpenMigratedConnection(const DatabaseUrl& url, qint64 nowMs) {
  if (url.kind == DatabaseUrl::Kind::Sqlite) {
    const QString folder = QFileInfo(url.path).absolutePath();
    if (!QDir().mkpath(folder)) throw StoreFailure(QStringLiteral("cannot make the folder %1").arg(folder));
  }
  MigratedConnection opened;
  opened.dialect = DialectFor(url.kind);
  opened.connection = std::make_unique<SqlConnection>(url, *opened.dialect);
  MigrateSchema(*opened.connection, *opened.dialect, DeskMigrations(), nowMs);
  return opened;
}

}  // namespace pralix::desk
