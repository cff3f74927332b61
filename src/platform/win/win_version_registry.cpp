#include "platform/win/win_version_registry.h"

#include <vector>

#include "platform/win/win_registry_key.h"

namespace pralix::win {

std::optional<std::uint32_t> ReadVersionDword(HKEY root, const std::wstring& keyPath, const std::wstring& name) {
  const RegistryKey key(root, keyPath);
  if (!key.isOpen()) return std::nullopt;
  DWORD type = REG_NONE;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
    return std::nullopt;  // missing, or larger than a DWORD
  if (type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

std::optional<std::wstring> ReadVersionString(HKEY root, const std::wstring& keyPath, const std::wstring& name) {
  const RegistryKey key(root, keyPath);
  if (!key.isOpen()) return std::nullopt;
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<BYTE> data(size);
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;  // changed between the two reads
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  return StringFromRegistryData(data.data(), size);
}

}  // namespace pralix::win
