#pragma once
// One Qt SQL connection of its own, set up by the dialect, removed again at
// the end.  A connection may be used only on the thread that opened it.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "store/database_url.h"
#include "store/sql_dialect.h"

namespace pralix::desk {

class SqlConnection {
 public:
  // Opens and sets up the connection; throws StoreFailure with a one-line
  // message when the database cannot be reached.
  SqlConnection(const DatabaseUrl& url, const SqlDialect& dialect);
  ~SqlConnection();
  SqlConnection(const SqlConnection&) = delete;
  SqlConnection& operator=(const SqlConnection&) = delete;

  QSqlDatabase database() const { return QSqlDatabase::database(name_, false); }
  // Runs one statement that takes no values; throws StoreFailure.
  void execute(const QString& statement) const;

 private:
  QString name_;
};

// A query prepared once on the connection; throws StoreFailure.
void Prepare(QSqlQuery& query, const QString& statement);
// Runs a prepared query with its bound values; throws StoreFailure.
void Execute(QSqlQuery& query);

// SQL NULL for a null text or for no number.
QVariant TextOrNull(const QString& text);
// Text for a NOT NULL column: a null QString binds as NULL, so it becomes ''.
QVariant Text(const QString& text);
QVariant NumberOrNull(const std::optional<qint64>& number);

// A Qt SQL error as one line.
QString OneLine(const QString& text);

}  // namespace pralix::desk
