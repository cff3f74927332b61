#include "auth/thread_pool_password_checks.h"

namespace pralix::desk {

ThreadPoolPasswordChecks::ThreadPoolPasswordChecks(PasswordHasher& hasher) : hasher_(hasher), context_(new QObject) {
  pool_.setMaxThreadCount(2);
}

ThreadPoolPasswordChecks::~ThreadPoolPasswordChecks() {
  // No check runs once the pool is done; deleting the context then drops
  // the outcomes still queued for it.
  pool_.waitForDone();
  delete context_;
}

void ThreadPoolPasswordChecks::check(QByteArray hash, QByteArray password, std::function<void(bool)> done) {
  pool_.start([this, hash = std::move(hash), password = std::move(password), done = std::move(done)] {
    const bool matched = hasher_.verify(hash, password);
    QMetaObject::invokeMethod(context_, [done, matched] { done(matched); }, Qt::QueuedConnection);
  });
}

}  // namespace pralix::desk
