#pragma once
// Where the desk's secrets come from: session ids, CSRF tokens, API tokens.

#include <QByteArray>

namespace pralix::desk {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // count bytes from a cryptographically secure generator.
  virtual QByteArray bytes(int count) = 0;
};

// 32 random bytes, base64url: 43 characters fit for a cookie, a header or a form.
QByteArray NewSecret(RandomSource& random);

}  // namespace pralix::desk
