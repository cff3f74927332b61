#include "store/sql_account_store.h"

#include <QVariant>

namespace pralix::desk {
namespace {

QVariant Int64(qint64 value) { return QVariant(qlonglong(value)); }

std::optional<qint64> OptionalInt64(const QVariant& value) {
  if (value.isNull()) return std::nullopt;
  return value.toLongLong();
}

}  // namespace

SqlAccountStore::SqlAccountStore(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection)
    : dialect_(std::move(dialect)), connection_(std::move(connection)) {}

QSqlQuery SqlAccountStore::run(const QString& statement, const QVariantList& values) {
  QSqlQuery query(connection_->database());
  query.setForwardOnly(true);
  Prepare(query, statement);
  for (const QVariant& value : values) query.addBindValue(value);
  Execute(query);
  return query;
}

template <typename Body>
auto SqlAccountStore::inWriteTransaction(Body body) -> decltype(body()) {
  connection_->execute(dialect_->beginWrite());
  try {
    auto result = body();
    connection_->execute(QStringLiteral("COMMIT"));
    return result;
  } catch (...) {
    QSqlQuery rollback(connection_->database());
    rollback.exec(QStringLiteral("ROLLBACK"));
    throw;
  }
}

bool SqlAccountStore::addUser(const QString& name, const QByteArray& passwordHash, qint64 nowMs) {
  const QSqlQuery insert = run(QStringLiteral("INSERT INTO users (name, password_hash, created_at) VALUES (?, ?, ?)"
                                              " ON CONFLICT (name) DO NOTHING"),
                               {Text(name), QString::fromLatin1(passwordHash), Int64(nowMs)});
  return insert.numRowsAffected() == 1;
}

bool SqlAccountStore::removeUser(const QString& name) {
  // The foreign key cascades too; deleting the sessions first says so here.
  return inWriteTransaction([&] {
    run(QStringLiteral("DELETE FROM sessions WHERE user_id IN (SELECT id FROM users WHERE name = ?)"), {Text(name)});
    return run(QStringLiteral("DELETE FROM users WHERE name = ?"), {Text(name)}).numRowsAffected() == 1;
  });
}

std::vector<UserEntry> SqlAccountStore::users() {
  QSqlQuery query = run(QStringLiteral("SELECT name, created_at FROM users ORDER BY name"), {});
  std::vector<UserEntry> users;
  while (query.next()) users.push_back({query.value(0).toString(), query.value(1).toLongLong()});
  return users;
}

std::optional<QByteArray> SqlAccountStore::passwordHashOf(const QString& name) {
  QSqlQuery query = run(QStringLiteral("SELECT password_hash FROM users WHERE name = ?"), {Text(name)});
  if (!query.next()) return std::nullopt;
  return query.value(0).toString().toLatin1();
}

void SqlAccountStore::addSession(const QByteArray& idHash, const QString& user, const QByteArray& csrfToken,
                                 qint64 nowMs) {
  const QSqlQuery insert =
      run(QStringLiteral("INSERT INTO sessions (id_hash, user_id, csrf_token, created_at, last_used_at)"
                         " SELECT ?, id, ?, ?, ? FROM users WHERE name = ?"),
          {QString::fromLatin1(idHash), QString::fromLatin1(csrfToken), Int64(nowMs), Int64(nowMs), Text(user)});
  if (insert.numRowsAffected() != 1) throw StoreFailure(QStringLiteral("no user %1 to start a session for").arg(user));
}

std::optional<SessionEntry> SqlAccountStore::session(const QByteArray& idHash) {
  QSqlQuery query = run(QStringLiteral("SELECT users.name, sessions.csrf_token, sessions.created_at, sessions.last_used_at"
                                       " FROM sessions JOIN users ON users.id = sessions.user_id WHERE sessions.id_hash = ?"),
                        {QString::fromLatin1(idHash)});
  if (!query.next()) return std::nullopt;
  return SessionEntry{query.value(0).toString(), query.value(1).toString().toLatin1(), query.value(2).toLongLong(),
                      query.value(3).toLongLong()};
}

void SqlAccountStore::touchSession(const QByteArray& idHash, qint64 nowMs) {
  run(QStringLiteral("UPDATE sessions SET last_used_at = ? WHERE id_hash = ? AND last_used_at < ?"),
      {Int64(nowMs), QString::fromLatin1(idHash), Int64(nowMs)});
}

void SqlAccountStore::removeSession(const QByteArray& idHash) {
  run(QStringLiteral("DELETE FROM sessions WHERE id_hash = ?"), {QString::fromLatin1(idHash)});
}

void SqlAccountStore::removeSessionsBefore(qint64 createdBefore, qint64 usedBefore) {
  run(QStringLiteral("DELETE FROM sessions WHERE created_at < ? OR last_used_at < ?"),
      {Int64(createdBefore), Int64(usedBefore)});
}

void SqlAccountStore::addLoginFailure(const QString& account, const QString& clientAddress, qint64 nowMs,
                                      qint64 forgetBefore) {
  inWriteTransaction([&] {
    run(QStringLiteral("DELETE FROM login_failures WHERE failed_at < ?"), {Int64(forgetBefore)});
    run(QStringLiteral("INSERT INTO login_failures (account, client_address, failed_at) VALUES (?, ?, ?)"),
        {Text(account), Text(clientAddress), Int64(nowMs)});
    return true;
  });
}

std::vector<qint64> SqlAccountStore::failureTimes(const QString& column, const QString& key, qint64 since, int limit) {
  // column is one of two names this file passes, never a value.
  QSqlQuery query = run(QStringLiteral("SELECT failed_at FROM login_failures WHERE %1 = ? AND failed_at > ?"
                                       " ORDER BY failed_at DESC LIMIT ?")
                            .arg(column),
                        {Text(key), Int64(since), limit});
  std::vector<qint64> times;
  while (query.next()) times.push_back(query.value(0).toLongLong());
  return times;
}

std::vector<qint64> SqlAccountStore::failuresOfAccount(const QString& account, qint64 since, int limit) {
  return failureTimes(QStringLiteral("account"), account, since, limit);
}

std::vector<qint64> SqlAccountStore::failuresOfAddress(const QString& clientAddress, qint64 since, int limit) {
  return failureTimes(QStringLiteral("client_address"), clientAddress, since, limit);
}

void SqlAccountStore::clearFailuresOfAccount(const QString& account) {
  run(QStringLiteral("DELETE FROM login_failures WHERE account = ?"), {Text(account)});
}

bool SqlAccountStore::addToken(const QString& name, const QByteArray& tokenHash, qint64 nowMs) {
  const QSqlQuery insert = run(QStringLiteral("INSERT INTO api_tokens (name, token_hash, created_at) VALUES (?, ?, ?)"
                                              " ON CONFLICT (name) DO NOTHING"),
                               {Text(name), QString::fromLatin1(tokenHash), Int64(nowMs)});
  return insert.numRowsAffected() == 1;
}

bool SqlAccountStore::removeToken(const QString& name) {
  return run(QStringLiteral("DELETE FROM api_tokens WHERE name = ?"), {Text(name)}).numRowsAffected() == 1;
}

std::vector<TokenEntry> SqlAccountStore::tokens() {
  QSqlQuery query = run(QStringLiteral("SELECT name, created_at, last_used_at FROM api_tokens ORDER BY name"), {});
  std::vector<TokenEntry> tokens;
  while (query.next())
    tokens.push_back({query.value(0).toString(), query.value(1).toLongLong(), OptionalInt64(query.value(2))});
  return tokens;
}

std::optional<TokenEntry> SqlAccountStore::tokenByHash(const QByteArray& tokenHash) {
  QSqlQuery query = run(QStringLiteral("SELECT name, created_at, last_used_at FROM api_tokens WHERE token_hash = ?"),
                        {QString::fromLatin1(tokenHash)});
  if (!query.next()) return std::nullopt;
  return TokenEntry{query.value(0).toString(), query.value(1).toLongLong(), OptionalInt64(query.value(2))};
}

void SqlAccountStore::touchToken(const QString& name, qint64 nowMs) {
  run(QStringLiteral("UPDATE api_tokens SET last_used_at = ? WHERE name = ?"), {Int64(nowMs), Text(name)});
}

}  // namespace pralix::desk
