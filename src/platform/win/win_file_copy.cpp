#include "platform/win/win_file_copy.h"

#include "platform/win/win_api.h"

namespace pralix::win {

bool CopyFileOver(const std::wstring& source, const std::wstring& target) {
  return CopyFileW(source.c_str(), target.c_str(), /*bFailIfExists=*/FALSE) != FALSE;
}

}  // namespace pralix::win
