#include "platform/win/win_registry_key.h"

namespace pralix::win {

RegistryKey::RegistryKey(HKEY root, const std::wstring& path) {
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
}

RegistryKey::~RegistryKey() {
  if (key_ != nullptr) RegCloseKey(key_);
}

std::wstring StringFromRegistryData(const BYTE* data, DWORD size) {
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) CopyMemory(text.data(), data, text.size() * sizeof(wchar_t));
  // A string ends at its first zero, as every reader of the value sees it.
  const std::wstring::size_type end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

}  // namespace pralix::win
