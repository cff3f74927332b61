#include "platform/win/win_version_registry.h"

#include <windows.h>

#include <vector>

namespace pralix::win {

namespace {

constexpr wchar_t kCurrentVersionKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";

// Opens the key for one read; a failed opening makes the read fail.
class CurrentVersionKey {
 public:
  CurrentVersionKey() { RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_READ, &key_); }
  ~CurrentVersionKey() {
    if (key_) RegCloseKey(key_);
  }
  CurrentVersionKey(const CurrentVersionKey&) = delete;
  CurrentVersionKey& operator=(const CurrentVersionKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::optional<unsigned long> ReadCurrentVersionDword(const std::wstring& name) {
  CurrentVersionKey key;
  if (!key.get()) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

std::optional<std::wstring> ReadCurrentVersionString(const std::wstring& name) {
  CurrentVersionKey key;
  if (!key.get()) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bufferSize = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bufferSize) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring value(buffer.data(), bufferSize / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return value;
}

}  // namespace pralix::win
