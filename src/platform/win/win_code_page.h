#pragma once
// The system's conversions between wide text and a Windows code page.

#include <string>

namespace pralix::win {

// A character the code page lacks becomes "?", one for a surrogate pair in a
// single-byte code page; no best-fit look-alikes.
std::string EncodeCodePage(const std::wstring& text, unsigned codePage);
std::wstring DecodeCodePage(const std::string& bytes, unsigned codePage);

// The system's ANSI code page (GetACP).
unsigned SystemAnsiCodePage();

}  // namespace pralix::win
