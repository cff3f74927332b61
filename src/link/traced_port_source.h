#pragma once
// Port objects of their own that write to the line trace, so that the frames
// of a look at several ports at once are on the trace beside the main
// port's.  Each port object is used in turn, so the lines stay in time order.

#include <QIODevice>

#include "interfaces/serial_port_source.h"
#include "interfaces/clock.h"

namespace pralix {

class TracedPortSource final : public SerialPortSource {
 public:
  // Nothing is owned.
  TracedPortSource(SerialPortSource& ports, QIODevice& trace, const Clock& clock)
      : ports_(ports), trace_(trace), clock_(clock) {}

  std::unique_ptr<SerialPort> makePort() override;
  qint64 nowMs() const override { return ports_.nowMs(); }

 private:
  SerialPortSource& ports_;
  QIODevice& trace_;
  const Clock& clock_;
};

}  // namespace pralix
