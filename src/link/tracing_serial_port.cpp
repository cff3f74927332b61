#include "link/tracing_serial_port.h"

namespace pralix {

TracingSerialPort::TracingSerialPort(SerialPort& port, QIODevice& trace, const Clock& clock)
    : port_(port), trace_(trace), clock_(clock) {}

TracingSerialPort::TracingSerialPort(std::unique_ptr<SerialPort> port, QIODevice& trace, const Clock& clock)
    : owned_(std::move(port)), port_(*owned_), trace_(trace), clock_(clock) {}

TracingSerialPort::~TracingSerialPort() { flushReceived(); }

void TracingSerialPort::line(const QDateTime& at, const char* tag, const QByteArray& text) {
  trace_.write(at.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1() + ' ' + tag + ' ' + text + '\n');
}

void TracingSerialPort::flushReceived() {
  if (received_.isEmpty()) return;
  line(receivedAt_, "RX", received_.toHex(' ').toUpper());
  received_.clear();
}

void TracingSerialPort::open() {
  const QByteArray what = port_.portName().toUtf8() + " at " + QByteArray::number(port_.baudRate()) + " baud";
  try {
    port_.open();
  } catch (const PortOpenError& e) {
    line(clock_.now(), "--", "cannot open " + what + ": " + e.what());
    throw;
  }
  line(clock_.now(), "--", "open " + what);
}

void TracingSerialPort::close() {
  flushReceived();
  if (port_.isOpen()) line(clock_.now(), "--", "close " + port_.portName().toUtf8());
  port_.close();
}

void TracingSerialPort::clearBuffers() {
  flushReceived();
  port_.clearBuffers();
}

int TracingSerialPort::write(const quint8* data, int count) {
  flushReceived();
  const QDateTime at = clock_.now();
  const int written = port_.write(data, count);
  QByteArray text = QByteArray(reinterpret_cast<const char*>(data), written).toHex(' ').toUpper();
  if (written < count) text += " (only " + QByteArray::number(written) + " of " + QByteArray::number(count) + " bytes)";
  line(at, "TX", text);
  return written;
}

void TracingSerialPort::gather(const quint8* bytes, int count) {
  if (received_.isEmpty()) receivedAt_ = clock_.now();
  received_.append(reinterpret_cast<const char*>(bytes), count);
}

int TracingSerialPort::read(quint8* buffer, int count) {
  const int got = port_.read(buffer, count);
  if (got > 0) gather(buffer, got);
  if (got < count) flushReceived();
  return got;
}

int TracingSerialPort::readWithin(quint8* buffer, int count, int timeoutMs) {
  const int got = port_.readWithin(buffer, count, timeoutMs);
  // Fewer bytes than asked for are only what had arrived: the line is quiet
  // only when none came.
  if (got > 0) gather(buffer, got);
  else flushReceived();
  return got;
}

}  // namespace pralix
