#pragma once
// Values under HKLM\Software\Microsoft\Windows NT\CurrentVersion.

#include <optional>
#include <string>

namespace pralix::win {

// A REG_DWORD value; nothing when missing or of another type.
std::optional<unsigned long> ReadCurrentVersionDword(const std::wstring& name);

// A REG_SZ (or REG_EXPAND_SZ) value; nothing when missing or of another type.
std::optional<std::wstring> ReadCurrentVersionString(const std::wstring& name);

}  // namespace pralix::win
