#pragma once
// The named mutex on Linux: a lock file in the user's runtime directory
// ($XDG_RUNTIME_DIR, else /tmp with the user id in the name), locked while
// owned and removed on release, so that it exists only while it is owned.

#include <string>

#include "interfaces/named_mutex.h"

namespace pralix {

class LinuxNamedMutex final : public NamedMutex {
 public:
  LinuxNamedMutex() = default;
  LinuxNamedMutex(const LinuxNamedMutex&) = delete;
  LinuxNamedMutex& operator=(const LinuxNamedMutex&) = delete;
  ~LinuxNamedMutex() override { close(); }

  bool create(const std::string& name) override;
  void close() override;

  bool owned() const { return owned_; }

  // Where the mutex of that name lives.
  static std::string PathFor(const std::string& name);
  // What another program sees: whether some process owns the mutex now.
  static bool IsOwnedByAnyone(const std::string& name);

 private:
  int fd_ = -1;
  bool owned_ = false;
  std::string path_;
};

}  // namespace pralix
