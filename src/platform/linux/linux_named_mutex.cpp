#include "platform/linux/linux_named_mutex.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace pralix {

namespace {

// The owner unlinks the file on release; a process that opened the old file
// just before may then lock an orphan.  Relocking a few times settles it.
constexpr int kLockTries = 5;

// Open-file-description locks: owned per open file like flock, and they can
// be tested without being taken, so a program that only looks never steals
// the ownership from a dialog being shown at that moment.
struct flock WholeFileLock(short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;  // to the end, however long
  return lock;
}

bool TryLock(int fd) {
  struct flock lock = WholeFileLock(F_WRLCK);
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool SameFile(int fd, const std::string& path) {
  struct stat open{}, named{};
  if (fstat(fd, &open) != 0 || stat(path.c_str(), &named) != 0) return false;
  return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

std::string LinuxNamedMutex::PathFor(const std::string& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return std::string(runtime) + "/" + name + ".lock";
  // /tmp is shared by all users: the user id keeps the name per user.
  return "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
}

bool LinuxNamedMutex::create(const std::string& name) {
  close();
  const std::string path = PathFor(name);
  for (int attempt = 0; attempt < kLockTries; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (!TryLock(fd)) {
      if (errno != EAGAIN && errno != EACCES) {
        ::close(fd);
        return false;
      }
      // Another process owns it: keep it open without ownership.
      fd_ = fd;
      path_ = path;
      owned_ = false;
      return true;
    }
    if (SameFile(fd, path)) {
      fd_ = fd;
      path_ = path;
      owned_ = true;
      return true;
    }
    ::close(fd);  // locked a file its owner had just removed
  }
  return false;
}

void LinuxNamedMutex::close() {
  if (fd_ < 0) return;
  // Remove the name while still holding the lock, so nobody sees it free.
  if (owned_) ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
  owned_ = false;
  path_.clear();
}

bool LinuxNamedMutex::IsOwnedByAnyone(const std::string& name) {
  const int fd = ::open(PathFor(name).c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock lock = WholeFileLock(F_WRLCK);
  const bool owned = fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  ::close(fd);
  return owned;
}

std::unique_ptr<NamedMutex> CreateSystemNamedMutex() { return std::make_unique<LinuxNamedMutex>(); }

}  // namespace pralix
