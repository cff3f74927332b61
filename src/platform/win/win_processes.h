#pragma once
// Starting other programs through the shell.

#include <string>

namespace pralix::win {

// "taskkill /IM Ostrik* /F": ends the fiscal-link software by force.  Started
// and not waited for; its outcome is ignored.
void StartTaskkillOfFiscalLink();

// Opens a web address with its default handler, shown normally.
void ShellOpen(const std::wstring& target);

}  // namespace pralix::win
