#pragma once
// The serial device map in the registry, HKLM\HARDWARE\DEVICEMAP\SERIALCOMM:
// one value per port, its name the kernel device (\Device\Serial0), its
// string data the port name (COM1).

#include <string>
#include <vector>

namespace pralix::win {

struct SerialCommValue {
  std::wstring name;
  std::wstring data;
};

// The values in enumeration order.  Empty when the key cannot be opened; an
// enumeration error other than the end keeps what was read before it.
std::vector<SerialCommValue> ReadSerialCommValues();

}  // namespace pralix::win
