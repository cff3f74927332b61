#pragma once
// The user's local application-data folder and the tool's outbox under it.

#include <string>

namespace pralix::win {

// %LOCALAPPDATA% as the shell knows it (FOLDERID_LocalAppData), without a
// trailing backslash; empty when the shell names none.
std::wstring LocalAppDataFolder();

// <localAppData>\Pralix\outbox, or empty when localAppData is empty.
std::wstring OutboxFolderUnder(const std::wstring& localAppData);

}  // namespace pralix::win
