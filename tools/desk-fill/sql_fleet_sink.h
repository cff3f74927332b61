#pragma once
// The made-up fleet into a desk database, SQLite or PostgreSQL: the schema
// made by the desk's own migrations, then many rows to a statement and many
// thousands to a transaction.  Filling only: SQLite runs with
// synchronous=OFF and PostgreSQL with synchronous_commit off on this
// connection (a fill that dies is started again on a new database).

#include <QSqlQuery>
#include <functional>
#include <memory>

#include "fleet_sink.h"
#include "store/database_url.h"
#include "store/sql_connection.h"
#include "store/sql_dialect.h"

namespace pralix::desk::fill {

class SqlFleetSink : public FleetSink {
 public:
  // Opens the database and migrates it; throws StoreFailure when it cannot,
  // or when the database holds records already.
  explicit SqlFleetSink(const DatabaseUrl& url);
  ~SqlFleetSink() override;

  void addRecords(const std::vector<NumberedRecord>& records) override;
  void addPrinters(const std::vector<FleetPrinter>& printers) override;
  void finish() override;

 private:
  using BindRow = std::function<void(QSqlQuery&, size_t)>;
  // "INSERT INTO table (columns) VALUES (...), (...), ..." over rows rows,
  // full statements of kRowsPerStatement and one for the rest, in one transaction.
  void insert(std::unique_ptr<QSqlQuery>& full, const QString& table, const QStringList& columns, size_t rows,
              const BindRow& bindRow);

  DatabaseUrl::Kind kind_;
  std::unique_ptr<SqlDialect> dialect_;
  std::unique_ptr<SqlConnection> connection_;
  // Declared after the connection: destroyed before it.
  std::unique_ptr<QSqlQuery> fullRecords_;
  std::unique_ptr<QSqlQuery> fullPrinters_;
};

}  // namespace pralix::desk::fill
