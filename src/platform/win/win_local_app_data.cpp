#include "platform/win/win_local_app_data.h"

#include "platform/win/win_api.h"

#include <objbase.h>
#include <shlobj.h>

namespace pralix::win {
namespace {

// FOLDERID_LocalAppData, spelled out so that no GUID library is needed.
constexpr KNOWNFOLDERID kLocalAppData = {0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};

}  // namespace

std::wstring LocalAppDataFolder() {
  PWSTR path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(kLocalAppData, KF_FLAG_DEFAULT, nullptr, &path);
  std::wstring folder = SUCCEEDED(result) && path != nullptr ? std::wstring(path) : std::wstring();
  CoTaskMemFree(path);  // owed even when the call failed
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return folder;
}

std::wstring OutboxFolderUnder(const std::wstring& localAppData) {
  if (localAppData.empty()) return {};
  const bool endsInSeparator = localAppData.back() == L'\\' || localAppData.back() == L'/';
  return localAppData + (endsInSeparator ? L"" : L"\\") + L"Pralix\\outbox";
}

}  // namespace pralix::win
