#include "platform/win/win_processes.h"

#include "platform/win/win_api.h"
#include <shellapi.h>

namespace pralix::win {

bool ShellStart(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters, int showMode) {
  const HINSTANCE result = ShellExecuteW(nullptr, verb.c_str(), file.c_str(),
                                         parameters.empty() ? nullptr : parameters.c_str(), nullptr, showMode);
  // Values above 32 mean success; lower ones are error codes.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void StartTaskkillOfFiscalLink() { ShellStart(L"open", L"taskkill", L"/IM Ostrik* /F", SW_SHOWDEFAULT); }

void ShellOpen(const std::wstring& target) { ShellStart(L"open", target, std::wstring(), SW_SHOWNORMAL); }

}  // namespace pralix::win
