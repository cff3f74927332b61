#pragma once
// The desk's store over Qt SQL, on SQLite or PostgreSQL alike: the dialect
// holds what differs.  Its statements are prepared once per connection and
// every value is bound.

#include <QSqlQuery>
#include <memory>

#include "store/desk_store.h"
#include "store/sql_connection.h"
#include "store/sql_dialect.h"

namespace pralix::desk {

class SqlDeskStore : public DeskStore {
 public:
  // The connection's schema must be current (MigrateSchema).
  SqlDeskStore(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection);
  ~SqlDeskStore() override;

  std::vector<StoreOutcome> store(const std::vector<DiagRecord>& records) override;
  std::vector<PrinterSummary> printers() override;
  std::vector<DiagRecord> recordsOf(const QString& ibfm) override;
  qint64 recordCount() override;

 private:
  StoreOutcome storeOne(const DiagRecord& record);
  void updatePrinter(const DiagRecord& record, qint64 recordId);

  std::unique_ptr<SqlDialect> dialect_;
  std::unique_ptr<SqlConnection> connection_;
  // Declared after the connection: destroyed before it.
  std::unique_ptr<QSqlQuery> insertRecord_;
  std::unique_ptr<QSqlQuery> bodyOfKey_;
  std::unique_ptr<QSqlQuery> upsertPrinter_;
};

}  // namespace pralix::desk
