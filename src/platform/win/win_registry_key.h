#pragma once
// A registry key opened for reading, closed when it goes out of scope.

#include <string>

#include "platform/win/win_api.h"

namespace pralix::win {

class RegistryKey {
 public:
  // Opens root\path read-only; a failed opening leaves the key closed, and
  // every read through it then fails.
  RegistryKey(HKEY root, const std::wstring& path);
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool isOpen() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// The text of string data as the registry hands it over: up to its first
// zero, or all of it, since stored data need not end in one.
std::wstring StringFromRegistryData(const BYTE* data, DWORD size);

}  // namespace pralix::win
