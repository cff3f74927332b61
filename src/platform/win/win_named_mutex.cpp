#include "platform/win/win_named_mutex.h"

#include "platform/win/win_api.h"

namespace pralix {

bool WinNamedMutex::create(const std::string& name) {
  close();
  // Mutex names here are plain ASCII, without a namespace prefix.
  const std::wstring wide(name.begin(), name.end());
  // When the mutex exists this opens it; ownership is then granted only if
  // nobody owns it, and we never wait for it.
  handle_ = CreateMutexW(nullptr, TRUE, wide.c_str());
  return handle_ != nullptr;
}

void WinNamedMutex::close() {
  if (handle_ == nullptr) return;
  ReleaseMutex(static_cast<HANDLE>(handle_));  // fails harmlessly when not owned
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

std::unique_ptr<NamedMutex> CreateSystemNamedMutex() { return std::make_unique<WinNamedMutex>(); }

}  // namespace pralix
