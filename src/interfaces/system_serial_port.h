#pragma once
// The PC's own serial port object: QSerialPort on Linux, the tool's Win32
// port on Windows.  Port "COM1" at 19200 baud until told otherwise.

#include <memory>

#include "interfaces/serial_port.h"

namespace pralix {

std::unique_ptr<SerialPort> MakeSystemSerialPort();

}  // namespace pralix
