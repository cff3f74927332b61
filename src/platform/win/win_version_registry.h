#pragma once
// Values under HKLM\Software\Microsoft\Windows NT\CurrentVersion that tell
// the Windows version.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win/win_api.h"

namespace pralix::win {

inline constexpr wchar_t kCurrentVersionKeyPath[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";

// The tool reads HKEY_LOCAL_MACHINE and kCurrentVersionKeyPath.  A key that
// cannot be opened makes every read fail.

// A REG_DWORD value ("CurrentMajorVersionNumber"); nothing when missing or
// of another type.
std::optional<std::uint32_t> ReadVersionDword(HKEY root, const std::wstring& keyPath, const std::wstring& name);

// A REG_SZ (or REG_EXPAND_SZ, unexpanded) value ("CurrentVersion"); nothing
// when missing or of another type.
std::optional<std::wstring> ReadVersionString(HKEY root, const std::wstring& keyPath, const std::wstring& name);

}  // namespace pralix::win
