#include "platform/win/win_serial_comm.h"

#include <windows.h>

namespace pralix::win {

std::vector<SerialCommValue> ReadSerialCommValues() {
  std::vector<SerialCommValue> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  // Room for 256 characters of name and 256 bytes of data, as the port
  // names of this key never come near.
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    BYTE data[256];
    DWORD dataSize = sizeof data;
    const LSTATUS status = RegEnumValueW(key, index, name, &nameLength, nullptr, nullptr, data, &dataSize);
    if (status != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS, or any error: keep what we have
    std::wstring port(reinterpret_cast<const wchar_t*>(data), dataSize / sizeof(wchar_t));
    while (!port.empty() && port.back() == L'\0') port.pop_back();
    values.push_back({std::wstring(name, nameLength), port});
  }
  RegCloseKey(key);
  return values;
}

}  // namespace pralix::win
