#pragma once
// The named mutex on Windows: a kernel mutex in the session's namespace.

#include <string>

#include "interfaces/named_mutex.h"

namespace pralix {

class WinNamedMutex final : public NamedMutex {
 public:
  WinNamedMutex() = default;
  WinNamedMutex(const WinNamedMutex&) = delete;
  WinNamedMutex& operator=(const WinNamedMutex&) = delete;
  ~WinNamedMutex() override { close(); }

  bool create(const std::string& name) override;
  void close() override;

 private:
  void* handle_ = nullptr;  // HANDLE; null when none is open
};

}  // namespace pralix
