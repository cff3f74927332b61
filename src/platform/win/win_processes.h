#pragma once
// Starting other programs through the shell, never waiting for them.

#include <string>

namespace pralix::win {

// Asks the shell to apply verb ("open") to file, with parameters (empty for
// none) and a show mode (SW_...).  Returns at once; true when the shell
// accepted the request, which says nothing of how the program fares.
bool ShellStart(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters, int showMode);

// "taskkill /IM Ostrik* /F" in the system's default show mode: ends the
// fiscal-link software by force so that its printer port is free.  Its
// outcome is ignored.
void StartTaskkillOfFiscalLink();

// Opens a web address (or any document) with its default handler, shown
// normally.  The outcome is ignored.
void ShellOpen(const std::wstring& target);

}  // namespace pralix::win
