#pragma once
// What differs between the databases the desk runs on, and nothing else:
// the Qt SQL driver, column types, how a connection is set up, how a write
// transaction starts and how two desks keep from migrating at once.  The
// schema and the queries are written once with {placeholders} for the types.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

#include "store/database_url.h"

namespace pralix::desk {

class SqlDialect {
 public:
  virtual ~SqlDialect() = default;

  virtual QString driverName() const = 0;
  // Host, file, user, connect options: everything before open().
  virtual void configure(QSqlDatabase& database, const DatabaseUrl& url) const = 0;
  // Statements run once on every new connection.
  virtual QStringList sessionSetup() const = 0;
  // Starts a transaction that will write; it holds the write lock from the
  // start where the database has one.
  virtual QString beginWrite() const = 0;
  // Run right after beginWrite() before migrating: keeps a second desk from
  // migrating the same database until this transaction ends.
  virtual QStringList lockForMigration() const = 0;
  // A condition with one bound value: the text column matches a LIKE
  // pattern (ESCAPE '!') whose ASCII letters are upper case, whatever the
  // case of the column's ASCII letters; letters beyond ASCII match exactly.
  virtual QString likeIgnoringAsciiCase(const QString& column) const = 0;
  // The operator for the same with a pattern in either case (LIKE, ILIKE).
  virtual QString caseInsensitiveLike() const = 0;

  // Replaces {id} (an auto-numbered 64-bit primary key), {int64}, {blob} and
  // {bytewise} (a text collation that orders by bytes) in a schema statement.
  QString expand(QString statement) const;

 protected:
  virtual QString idType() const = 0;
  virtual QString int64Type() const = 0;
  virtual QString blobType() const = 0;
  virtual QString bytewiseCollation() const = 0;
};

std::unique_ptr<SqlDialect> DialectFor(DatabaseUrl::Kind kind);

}  // namespace pralix::desk
