// Linux: the QSerialPort-backed port.

#include "platform/qt/qt_serial_port.h"
#include "interfaces/system_serial_port.h"

namespace pralix {

std::unique_ptr<SerialPort> MakeSystemSerialPort() { return std::make_unique<QtSerialPort>(); }

}  // namespace pralix
