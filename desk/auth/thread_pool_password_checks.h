#pragma once
// Password checks on a small pool of their own (two threads: each Argon2id
// check holds 64 MiB), their outcomes delivered back on the thread that
// made the runner.

#include <QObject>
#include <QThreadPool>

#include "auth/password_check_runner.h"
#include "auth/password_hasher.h"

namespace pralix::desk {

class ThreadPoolPasswordChecks : public PasswordCheckRunner {
 public:
  explicit ThreadPoolPasswordChecks(PasswordHasher& hasher);
  // Waits for the checks still running; their outcomes are dropped.
  ~ThreadPoolPasswordChecks() override;

  void check(QByteArray hash, QByteArray password, std::function<void(bool)> done) override;

 private:
  PasswordHasher& hasher_;
  QObject* context_;  // lives on the runner's thread; outcomes are queued to it
  QThreadPool pool_;
};

}  // namespace pralix::desk
