#include "platform/win/win_code_page.h"

#include "platform/win/win_api.h"

namespace pralix::win {

namespace {

bool IsSingleByte(unsigned codePage) {
  CPINFO info{};
  return GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
}

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A single-byte code page has no character outside the Basic Multilingual
// Plane, and the system would give a pair two marks: one "?" for each pair
// and for each surrogate standing alone.
std::wstring SurrogatesAsQuestionMarks(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) ++i;
    result += (IsHigh(c) || IsLow(c)) ? L'?' : c;
  }
  return result;
}

std::string AsciiOrQuestionMark(const std::wstring& text) {
  std::string bytes;
  for (const wchar_t c : text) bytes += c < 0x80 ? char(c) : '?';
  return bytes;
}

int Encode(const std::wstring& text, unsigned codePage, DWORD flags, const char* defaultChar, char* out, int room) {
  return WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), out, room, defaultChar, nullptr);
}

}  // namespace

std::string EncodeCodePage(const std::wstring& text, unsigned codePage) {
  if (text.empty()) return {};
  const std::wstring input = IsSingleByte(codePage) ? SurrogatesAsQuestionMarks(text) : text;
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  const char* defaultChar = "?";
  int length = Encode(input, codePage, flags, defaultChar, nullptr, 0);
  if (length == 0) {
    // UTF-8 and a few others take neither flags nor a default character.
    flags = 0;
    defaultChar = nullptr;
    length = Encode(input, codePage, flags, defaultChar, nullptr, 0);
  }
  if (length <= 0) return AsciiOrQuestionMark(input);
  std::string bytes(std::size_t(length), '\0');
  length = Encode(input, codePage, flags, defaultChar, bytes.data(), length);
  bytes.resize(std::size_t(length > 0 ? length : 0));
  return bytes;
}

std::wstring DecodeCodePage(const std::string& bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  int length = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  if (length <= 0) return std::wstring(bytes.begin(), bytes.end());  // unknown code page: Latin-1
  std::wstring text(std::size_t(length), L'\0');
  length = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), text.data(), length);
  text.resize(std::size_t(length > 0 ? length : 0));
  return text;
}

unsigned SystemAnsiCodePage() { return GetACP(); }

}  // namespace pralix::win
