#include "platform/win/win_processes.h"

#include <windows.h>
#include <shellapi.h>

namespace pralix::win {

void StartTaskkillOfFiscalLink() {
  ShellExecuteW(nullptr, L"open", L"taskkill", L"/IM Ostrik* /F", nullptr, SW_SHOWDEFAULT);
}

void ShellOpen(const std::wstring& target) { ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL); }

}  // namespace pralix::win
