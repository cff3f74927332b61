#include "store/sql_connection.h"

#include <QSqlError>
#include <QUuid>

#include "store/desk_store.h"

namespace pralix::desk {
namespace {

QString ErrorText(const QSqlError& error) { return OneLine(error.text()); }

}  // namespace

QString OneLine(const QString& text) { return text.simplified(); }

SqlConnection::SqlConnection(const DatabaseUrl& url, const SqlDialect& dialect)
    : name_(QStringLiteral("pralix-desk-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
  QSqlDatabase db = QSqlDatabase::addDatabase(dialect.driverName(), name_);
  if (!db.isValid()) {
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    throw StoreFailure(QStringLiteral("the Qt SQL driver %1 is not installed").arg(dialect.driverName()));
  }
  dialect.configure(db, url);
  if (!db.open()) {
    const QString reason = ErrorText(db.lastError());
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    throw StoreFailure(QStringLiteral("cannot open the database %1: %2").arg(url.display(), reason));
  }
  try {
    for (const QString& statement : dialect.sessionSetup()) execute(statement);
  } catch (...) {
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    throw;
  }
}

SqlConnection::~SqlConnection() {
  {
    QSqlDatabase db = database();
    db.close();
  }
  QSqlDatabase::removeDatabase(name_);
}

void SqlConnection::execute(const QString& statement) const {
  QSqlQuery query(database());
  if (!query.exec(statement)) throw StoreFailure(ErrorText(query.lastError()) + QStringLiteral(" (") + statement.left(60) + QStringLiteral(")"));
}

void Prepare(QSqlQuery& query, const QString& statement) {
  if (!query.prepare(statement)) throw StoreFailure(ErrorText(query.lastError()));
}

void Execute(QSqlQuery& query) {
  if (!query.exec()) throw StoreFailure(ErrorText(query.lastError()));
}

QVariant TextOrNull(const QString& text) {
  return text.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

QVariant Text(const QString& text) { return text.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(text); }

QVariant NumberOrNull(const std::optional<qint64>& number) {
  return number ? QVariant(qlonglong(*number)) : QVariant(QMetaType::fromType<qlonglong>());
}

}  // namespace pralix::desk
