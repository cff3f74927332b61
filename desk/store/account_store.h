#pragma once
// The desk's accounts in the database: users, their sessions, failed logins
// and the read-only API tokens.  Secrets never reach it in the clear: the
// password as an Argon2id hash, session ids and tokens as the hex of their
// SHA-256.  Every method throws StoreFailure when the database failed.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "store/desk_store.h"

namespace pralix::desk {

struct UserEntry {
  QString name;
  qint64 createdMs = 0;
};

struct SessionEntry {
  QString user;
  QByteArray csrfToken;
  qint64 createdMs = 0;
  qint64 lastUsedMs = 0;
};

struct TokenEntry {
  QString name;
  qint64 createdMs = 0;
  std::optional<qint64> lastUsedMs;
};

class AccountStore {
 public:
  virtual ~AccountStore() = default;

  // False when the name is taken.
  virtual bool addUser(const QString& name, const QByteArray& passwordHash, qint64 nowMs) = 0;
  // Ends the user's sessions with it; false when there is no such user.
  virtual bool removeUser(const QString& name) = 0;
  // By name.
  virtual std::vector<UserEntry> users() = 0;
  virtual std::optional<QByteArray> passwordHashOf(const QString& name) = 0;

  // The user must exist.
  virtual void addSession(const QByteArray& idHash, const QString& user, const QByteArray& csrfToken, qint64 nowMs) = 0;
  virtual std::optional<SessionEntry> session(const QByteArray& idHash) = 0;
  virtual void touchSession(const QByteArray& idHash, qint64 nowMs) = 0;
  virtual void removeSession(const QByteArray& idHash) = 0;
  // Sessions created before createdBefore or unused since usedBefore.
  virtual void removeSessionsBefore(qint64 createdBefore, qint64 usedBefore) = 0;

  // Also forgets failures that happened before forgetBefore.
  virtual void addLoginFailure(const QString& account, const QString& clientAddress, qint64 nowMs,
                               qint64 forgetBefore) = 0;
  // The times of the newest failures after since, newest first, at most limit.
  virtual std::vector<qint64> failuresOfAccount(const QString& account, qint64 since, int limit) = 0;
  virtual std::vector<qint64> failuresOfAddress(const QString& clientAddress, qint64 since, int limit) = 0;
  virtual void clearFailuresOfAccount(const QString& account) = 0;

  // False when the name is taken.
  virtual bool addToken(const QString& name, const QByteArray& tokenHash, qint64 nowMs) = 0;
  virtual bool removeToken(const QString& name) = 0;
  // By name.
  virtual std::vector<TokenEntry> tokens() = 0;
  virtual std::optional<TokenEntry> tokenByHash(const QByteArray& tokenHash) = 0;
  virtual void touchToken(const QString& name, qint64 nowMs) = 0;
};

}  // namespace pralix::desk
