#include "workstation/port_screen.h"

#include <memory>
#include <vector>

#include "link/P00_fpsend.h"
#include "link/frame.h"

namespace pralix {

namespace {

constexpr quint8 kReadClock = 62;  // reads the date and time: changes nothing

struct Screened {
  QString name;
  std::unique_ptr<SerialPort> port;
};

// The port open at baud with the request written, or nothing when it is
// missing, busy, or gone before it took the whole frame.
std::unique_ptr<SerialPort> OpenAndAsk(SerialPortSource& source, const QString& name, qint32 baud,
                                       const quint8* frame, int size) {
  std::unique_ptr<SerialPort> port = source.makePort();
  if (!port) return nullptr;
  port->setPortName(name);
  port->setBaudRate(baud);
  try {
    port->open();
  } catch (const PortOpenError&) {
    return nullptr;
  }
  // A byte left from before is no answer.
  port->clearBuffers();
  if (port->write(frame, size) < size) {
    port->close();
    return nullptr;
  }
  return port;
}

}  // namespace

ScreenOutcome FirstPortThatAnswers(SerialPortSource& source, const QStringList& ports, qint32 baud) {
  quint8 frame[kRequestOverhead];
  const int size = EncodeRequest(SequenceAfter(SequenceNumber), kReadClock, QByteArray(), frame);

  std::vector<Screened> asked;
  for (const QString& name : ports)
    if (std::unique_ptr<SerialPort> port = OpenAndAsk(source, name, baud, frame, size))
      asked.push_back({name, std::move(port)});

  // Each port in turn gets the time left until the common deadline, so a
  // port is looked at only when every earlier one has had its full wait;
  // once the deadline has passed, a read takes only what is already there.
  const qint64 deadline = source.nowMs() + kScreenWaitMs;
  ScreenOutcome outcome;
  for (Screened& s : asked) {
    if (outcome.answered.isEmpty()) {
      quint8 byte;
      const qint64 left = qMax<qint64>(0, deadline - source.nowMs());
      if (s.port->readWithin(&byte, 1, int(left)) > 0) outcome.answered = s.name;
    } else {
      outcome.undecided << s.name;
    }
    s.port->close();
  }
  return outcome;
}

}  // namespace pralix
