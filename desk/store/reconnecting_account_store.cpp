#include "store/reconnecting_account_store.h"

#include "store/sql_account_store.h"

namespace pralix::desk {
namespace {

// Holds the connection until a statement fails; the next call connects
// anew, so a restarted database costs the gate only while it is down.
class ReconnectingAccountStore : public AccountStore {
 public:
  explicit ReconnectingAccountStore(DatabaseUrl url) : url_(std::move(url)) {}

 private:
  template <typename Call>
  auto withStore(Call&& call) -> decltype(call(std::declval<AccountStore&>())) {
    if (!store_) {
      std::unique_ptr<SqlDialect> dialect = DialectFor(url_.kind);
      auto connection = std::make_unique<SqlConnection>(url_, *dialect);
      store_ = std::make_unique<SqlAccountStore>(std::move(dialect), std::move(connection));
    }
    try {
      return call(*store_);
    } catch (const StoreFailure&) {
      store_.reset();
      throw;
    }
  }

 public:
  bool addUser(const QString& name, const QByteArray& passwordHash, qint64 nowMs) override {
    return withStore([&](AccountStore& s) { return s.addUser(name, passwordHash, nowMs); });
  }
  bool removeUser(const QString& name) override {
    return withStore([&](AccountStore& s) { return s.removeUser(name); });
  }
  std::vector<UserEntry> users() override {
    return withStore([&](AccountStore& s) { return s.users(); });
  }
  std::optional<QByteArray> passwordHashOf(const QString& name) override {
    return withStore([&](AccountStore& s) { return s.passwordHashOf(name); });
  }
  void addSession(const QByteArray& idHash, const QString& user, const QByteArray& csrfToken, qint64 nowMs) override {
    withStore([&](AccountStore& s) { return s.addSession(idHash, user, csrfToken, nowMs); });
  }
  std::optional<SessionEntry> session(const QByteArray& idHash) override {
    return withStore([&](AccountStore& s) { return s.session(idHash); });
  }
  void touchSession(const QByteArray& idHash, qint64 nowMs) override {
    withStore([&](AccountStore& s) { return s.touchSession(idHash, nowMs); });
  }
  void removeSession(const QByteArray& idHash) override {
    withStore([&](AccountStore& s) { return s.removeSession(idHash); });
  }
  void removeSessionsBefore(qint64 createdBefore, qint64 usedBefore) override {
    withStore([&](AccountStore& s) { return s.removeSessionsBefore(createdBefore, usedBefore); });
  }
  void addLoginFailure(const QString& account, const QString& clientAddress, qint64 nowMs, qint64 forgetBefore) override {
    withStore([&](AccountStore& s) { return s.addLoginFailure(account, clientAddress, nowMs, forgetBefore); });
  }
  std::vector<qint64> failuresOfAccount(const QString& account, qint64 since, int limit) override {
    return withStore([&](AccountStore& s) { return s.failuresOfAccount(account, since, limit); });
  }
  std::vector<qint64> failuresOfAddress(const QString& clientAddress, qint64 since, int limit) override {
    return withStore([&](AccountStore& s) { return s.failuresOfAddress(clientAddress, since, limit); });
  }
  void clearFailuresOfAccount(const QString& account) override {
    withStore([&](AccountStore& s) { return s.clearFailuresOfAccount(account); });
  }
  bool addToken(const QString& name, const QByteArray& tokenHash, qint64 nowMs) override {
    return withStore([&](AccountStore& s) { return s.addToken(name, tokenHash, nowMs); });
  }
  bool removeToken(const QString& name) override {
    return withStore([&](AccountStore& s) { return s.removeToken(name); });
  }
  std::vector<TokenEntry> tokens() override {
    return withStore([&](AccountStore& s) { return s.tokens(); });
  }
  std::optional<TokenEntry> tokenByHash(const QByteArray& tokenHash) override {
    return withStore([&](AccountStore& s) { return s.tokenByHash(tokenHash); });
  }
  void touchToken(const QString& name, qint64 nowMs) override {
    withStore([&](AccountStore& s) { return s.touchToken(name, nowMs); });
  }

 private:
  DatabaseUrl url_;
  std::unique_ptr<AccountStore> store_;
};

}  // namespace

std::unique_ptr<AccountStore> OpenReconnectingAccountStore(const DatabaseUrl& url) {
  return std::make_unique<ReconnectingAccountStore>(url);
}

}  // namespace pralix::desk
