#pragma once
// The desk's one contact with libsodium: its random bytes and its Argon2id.

#include "auth/password_hasher.h"
#include "auth/random_source.h"

namespace pralix::desk {

// Call once at start, before any thread uses libsodium; false when the
// library cannot start (no random source).
bool StartSodium();

class SodiumRandom : public RandomSource {
 public:
  QByteArray bytes(int count) override;
};

class SodiumPasswordHasher : public PasswordHasher {
 public:
  QByteArray hash(const QByteArray& password) override;
  bool verify(const QByteArray& hash, const QByteArray& password) override;
};

}  // namespace pralix::desk
