#pragma once
// Where the slow password check runs: off the event loop, so that a login
// (tens of milliseconds and 64 MiB of Argon2id) does not hold up the
// records arriving meanwhile.

#include <QByteArray>
#include <functional>

namespace pralix::desk {

class PasswordCheckRunner {
 public:
  virtual ~PasswordCheckRunner() = default;
  // done(matched) is called later on the caller's (event loop's) thread,
  // unless the runner is destroyed first.
  virtual void check(QByteArray hash, QByteArray password, std::function<void(bool)> done) = 0;
};

}  // namespace pralix::desk
