#include "scratch.h"

namespace pralix::wintest {

namespace {

constexpr wchar_t kScratchRoot[] = L"Software\\PralixWinTests";

}  // namespace

ScratchRegistryKey::ScratchRegistryKey(const std::wstring& name) : path_(std::wstring(kScratchRoot) + L"\\" + name) {
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());  // left over from an interrupted run
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) !=
      ERROR_SUCCESS)
    key_ = nullptr;
}

ScratchRegistryKey::~ScratchRegistryKey() {
  if (key_ != nullptr) RegCloseKey(key_);
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchRegistryKey::setString(const std::wstring& name, const std::wstring& text, DWORD type) {
  const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  setRaw(name, type, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t)));
}

void ScratchRegistryKey::setDword(const std::wstring& name, DWORD value) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  setRaw(name, REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof value));
}

void ScratchRegistryKey::setRaw(const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
  RegSetValueExW(key_, name.c_str(), 0, type, data.data(), DWORD(data.size()));
}

ScratchFolder::ScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  path_ = std::wstring(temp, length) + L"PralixWinTests-" + name;
  RemoveTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::string ReadFileBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // hidden, system and read-only ones too
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

std::string Utf8Bytes(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::wstring WideFromUtf8(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring text(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), size);
  return text;
}

std::wstring OwnProgramPath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
  return path;
}

}  // namespace pralix::wintest
