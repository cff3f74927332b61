#pragma once
// The serial device map in the registry, HKLM\HARDWARE\DEVICEMAP\SERIALCOMM:
// one value per port, its name the kernel device (\Device\Serial0), its
// string data the port name (COM1).

#include <string>
#include <vector>

#include "platform/win/win_api.h"

namespace pralix::win {

inline constexpr wchar_t kSerialCommKeyPath[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";

struct SerialCommValue {
  std::wstring name;  // \Device\Serial0
  std::wstring data;  // COM1
};

// The string values of root\keyPath in enumeration order (the tool reads
// HKEY_LOCAL_MACHINE and kSerialCommKeyPath).  Empty when the key cannot be
// opened.  A value whose name is longer than 255 characters or whose data
// takes more than 256 bytes, or any other enumeration error, ends the list
// with what was read before it.  Values that do not hold a string name no
// port and are passed over.
std::vector<SerialCommValue> ReadSerialCommValues(HKEY root, const std::wstring& keyPath);

}  // namespace pralix::win
