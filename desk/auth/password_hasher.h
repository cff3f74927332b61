#pragma once
// Passwords are kept only as a slow, salted hash (Argon2id with libsodium's
// "interactive" cost), verified the same way.

#include <QByteArray>

namespace pralix::desk {

class PasswordHasher {
 public:
  virtual ~PasswordHasher() = default;
  // The hash as a self-describing text ("$argon2id$v=19$m=...").  Throws
  // std::runtime_error when the memory it needs is not there.
  virtual QByteArray hash(const QByteArray& password) = 0;
  // False also for a hash it cannot read.  Safe to call from any thread.
  virtual bool verify(const QByteArray& hash, const QByteArray& password) = 0;
};

}  // namespace pralix::desk
