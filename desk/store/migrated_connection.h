#pragma once
// A connection to the desk's database with its schema brought up to date:
// what every store opens first.  An SQLite file's folder is made if missing.

#include <memory>

#include "store/database_url.h"
#include "store/desk_store.h"
#include "store/sql_connection.h"
#include "store/sql_dialect.h"

namespace pralix::desk {

struct MigratedConnection {
  std::unique_ptr<SqlDialect> dialect;
  std::unique_ptr<SqlConnection> connection;
};

// Throws StoreFailure when the database cannot be reached or migrated.
MigratedConnection OpenMigratedConnection(const DatabaseUrl& url, qint64 nowMs);

}  // namespace pralix::desk
