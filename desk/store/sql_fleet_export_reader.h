#pragma once
// The export's batches over Qt SQL on its own connection.  The filter and
// the sort follow the fleet page's (SortExpression, the same conditions),
// with (sort value, ibfm) as the key each batch starts after.

#include <memory>

#include "store/database_url.h"
#include "store/fleet_export_reader.h"
#include "store/sql_connection.h"
#include "store/sql_dialect.h"

namespace pralix::desk {

class SqlFleetExportReader : public FleetExportReader {
 public:
  SqlFleetExportReader(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection);

  FleetBatch batchAfter(const FleetFilter& filter, qint64 nowMs, const std::optional<FleetCursor>& after,
                        int limit) override;

 private:
  std::unique_ptr<SqlDialect> dialect_;
  std::unique_ptr<SqlConnection> connection_;
};

// A reader on a new connection (the schema already migrated); throws StoreFailure.
std::unique_ptr<FleetExportReader> OpenFleetExportReader(const DatabaseUrl& url);

}  // namespace pralix::desk
