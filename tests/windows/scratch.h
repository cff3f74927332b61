#pragma once
// Throwaway places for the tests: a registry key under HKEY_CURRENT_USER and
// a folder under the temporary directory, each removed with what it holds.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/win_api.h"

namespace pralix::wintest {

class ScratchRegistryKey {
 public:
  // HKCU\Software\PralixWinTests\<name>, created empty.
  explicit ScratchRegistryKey(const std::wstring& name);
  ~ScratchRegistryKey();
  ScratchRegistryKey(const ScratchRegistryKey&) = delete;
  ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;

  const std::wstring& path() const { return path_; }  // below HKEY_CURRENT_USER
  bool isOpen() const { return key_ != nullptr; }

  // REG_SZ with its closing zero, as the system's own writers store it.
  void setString(const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ);
  void setDword(const std::wstring& name, DWORD value);
  void setRaw(const std::wstring& name, DWORD type, const std::vector<BYTE>& data);

 private:
  std::wstring path_;
  HKEY key_ = nullptr;
};

class ScratchFolder {
 public:
  // A new, empty folder under the temporary directory.
  explicit ScratchFolder(const std::wstring& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The whole content, or "<unreadable>" when the file cannot be read.
std::string ReadFileBytes(const std::wstring& path);
void RemoveTree(const std::wstring& path);
std::string Utf8Bytes(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& bytes);

// The full path of this test program.
std::wstring OwnProgramPath();

}  // namespace pralix::wintest
