#include "link/traced_port_source.h"

#include "link/tracing_serial_port.h"

namespace pralix {

std::unique_ptr<SerialPort> TracedPortSource::makePort() {
  std::unique_ptr<SerialPort> port = ports_.makePort();
  if (!port) return nullptr;
  return std::make_unique<TracingSerialPort>(std::move(port), trace_, clock_);
}

}  // namespace pralix
