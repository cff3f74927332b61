#include "store/sql_dialect.h"

#include "store/postgresql_dialect.h"
#include "store/sqlite_dialect.h"

namespace pralix::desk {

QString SqlDialect::expand(QString statement) const {
  return statement.replace(QStringLiteral("{id}"), idType())
      .replace(QStringLiteral("{int64}"), int64Type())
      .replace(QStringLiteral("{blob}"), blobType())
      .replace(QStringLiteral("{bytewise}"), bytewiseCollation());
}

std::unique_ptr<SqlDialect> DialectFor(DatabaseUrl::Kind kind) {
  if (kind == DatabaseUrl::Kind::Postgresql) return std::make_unique<PostgresqlDialect>();
  return std::make_unique<SqliteDialect>();
}

}  // namespace pralix::desk
