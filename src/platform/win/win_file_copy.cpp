#include "platform/win/win_file_copy.h"

#include "platform/win/win_api.h"

namespace pralix::win {

bool CopyFileOver(const std::wstring& source, const std::wstring& target) {
  // The copy is made beside the target and then takes its place in one
  // rename, so a power cut leaves the earlier target or the whole new one.
  const std::wstring partial = target + L".partial";
  if (!CopyFileW(source.c_str(), partial.c_str(), /*bFailIfExists=*/FALSE)) {
    DeleteFileW(partial.c_str());
    return false;
  }
  if (!MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace pralix::win
