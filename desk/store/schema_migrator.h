#pragma once
// Brings a database's schema to the latest version in one transaction: the
// schema_migrations table says which migrations ran; the missing ones run in
// order.  A database at a version this desk does not know is refused.

#include <vector>

#include "store/migrations.h"
#include "store/sql_connection.h"
#include "store/sql_dialect.h"

namespace pralix::desk {

// Returns the version the database had before.  Throws StoreFailure when a
// statement fails (nothing of the run is kept) or when the database's schema
// is newer than the last of migrations.
int MigrateSchema(const SqlConnection& connection, const SqlDialect& dialect,
                  const std::vector<Migration>& migrations, qint64 nowMs);

}  // namespace pralix::desk
