#pragma once
// The account store over Qt SQL, on SQLite or PostgreSQL alike, with the
// same connection handling and dialects as the record store; every value is
// bound.

#include <QSqlQuery>
#include <QVariantList>
#include <memory>

#include "store/account_store.h"
#include "store/sql_connection.h"
#include "store/sql_dialect.h"

namespace pralix::desk {

class SqlAccountStore : public AccountStore {
 public:
  // The connection's schema must be current (MigrateSchema).
  SqlAccountStore(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection);

  bool addUser(const QString& name, const QByteArray& passwordHash, qint64 nowMs) override;
  bool removeUser(const QString& name) override;
  std::vector<UserEntry> users() override;
  std::optional<QByteArray> passwordHashOf(const QString& name) override;

  void addSession(const QByteArray& idHash, const QString& user, const QByteArray& csrfToken, qint64 nowMs) override;
  std::optional<SessionEntry> session(const QByteArray& idHash) override;
  void touchSession(const QByteArray& idHash, qint64 nowMs) override;
  void removeSession(const QByteArray& idHash) override;
  void removeSessionsBefore(qint64 createdBefore, qint64 usedBefore) override;

  void addLoginFailure(const QString& account, const QString& clientAddress, qint64 nowMs,
                       qint64 forgetBefore) override;
  std::vector<qint64> failuresOfAccount(const QString& account, qint64 since, int limit) override;
  std::vector<qint64> failuresOfAddress(const QString& clientAddress, qint64 since, int limit) override;
  void clearFailuresOfAccount(const QString& account) override;

  bool addToken(const QString& name, const QByteArray& tokenHash, qint64 nowMs) override;
  bool removeToken(const QString& name) override;
  std::vector<TokenEntry> tokens() override;
  std::optional<TokenEntry> tokenByHash(const QByteArray& tokenHash) override;
  void touchToken(const QString& name, qint64 nowMs) override;

 private:
  // Prepares, binds the values in order and runs; throws StoreFailure.
  QSqlQuery run(const QString& statement, const QVariantList& values);
  // Runs the statements of body in one write transaction.
  template <typename Body>
  auto inWriteTransaction(Body body) -> decltype(body());
  std::vector<qint64> failureTimes(const QString& column, const QString& key, qint64 since, int limit);

  std::unique_ptr<SqlDialect> dialect_;
  std::unique_ptr<SqlConnection> connection_;
};

}  // namespace pralix::desk
