#include "platform/win/win_file_search.h"

#include "platform/win/win_api.h"

namespace pralix::win {

std::vector<FoundEntry> FindEntries(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<FoundEntry> entries;
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const DWORD attributes = data.dwFileAttributes;
    entries.push_back({name, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                       (attributes & FILE_ATTRIBUTE_SYSTEM) != 0});
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return entries;
}

}  // namespace pralix::win
