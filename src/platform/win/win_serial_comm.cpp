#include "platform/win/win_serial_comm.h"

#include "platform/win/win_registry_key.h"

namespace pralix::win {

std::vector<SerialCommValue> ReadSerialCommValues(HKEY root, const std::wstring& keyPath) {
  std::vector<SerialCommValue> values;
  const RegistryKey key(root, keyPath);
  if (!key.isOpen()) return values;
  // Fixed room, as the tool always had: port entries never come near it.
  constexpr DWORD kNameRoom = 256;  // characters, the closing zero included
  constexpr DWORD kDataRoom = 256;  // bytes
  for (DWORD index = 0;; ++index) {
    wchar_t name[kNameRoom];
    DWORD nameLength = kNameRoom;
    BYTE data[kDataRoom];
    DWORD dataSize = kDataRoom;
    DWORD type = REG_NONE;
    if (RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      break;  // ERROR_NO_MORE_ITEMS, or any error: keep what we have
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    values.push_back({std::wstring(name, nameLength), StringFromRegistryData(data, dataSize)});
  }
  return values;
}

}  // namespace pralix::win
