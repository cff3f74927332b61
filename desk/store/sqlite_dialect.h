#pragma once
// SQLite: WAL with synchronous=FULL, so that a commit the desk answered 200
// for survives a power cut (NORMAL could lose the last ones); a busy timeout
// for a second writer; BEGIN IMMEDIATE so a writer never has to upgrade a
// read lock (which the busy timeout cannot wait out in WAL mode).

#include "store/sql_dialect.h"

namespace pralix::desk {

class SqliteDialect : public SqlDialect {
 public:
  // How long a writer waits for another one's lock.
  static constexpr int kBusyTimeoutMs = 10000;

  QString driverName() const override { return QStringLiteral("QSQLITE"); }
  void configure(QSqlDatabase& database, const DatabaseUrl& url) const override;
  QStringList sessionSetup() const override;
  QString beginWrite() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
  QStringList lockForMigration() const override { return {}; }  // BEGIN IMMEDIATE is the lock
  // SQLite's LIKE itself folds ASCII letters, and only those.
  QString likeIgnoringAsciiCase(const QString& column) const override {
    return column + QStringLiteral(" LIKE ? ESCAPE '!'");
  }
  QString caseInsensitiveLike() const override { return QStringLiteral("LIKE"); }

 protected:
  QString idType() const override { return QStringLiteral("INTEGER PRIMARY KEY"); }
  QString int64Type() const override { return QStringLiteral("INTEGER"); }
  QString blobType() const override { return QStringLiteral("BLOB"); }
  QString bytewiseCollation() const override { return QString(); }  // BINARY is SQLite's default
};

}  // namespace pralix::desk
