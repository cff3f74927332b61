#include "platform/system_serial_port_source.h"

#include "interfaces/system_serial_port.h"

namespace pralix {

std::unique_ptr<SerialPort> SystemSerialPortSource::makePort() { return MakeSystemSerialPort(); }

}  // namespace pralix
