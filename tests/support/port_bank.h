#pragma once
// The PC's serial ports as one port object, as the main window has it: the
// name set on it picks which scripted port answers; a name with no port
// behind it cannot be opened.  The bank is also a port source: port objects
// of their own on the same scripted ports, as the screen of all ports at
// once uses them.

#include <QStringList>
#include <map>

#include "interfaces/serial_port_source.h"
#include "scripted_port.h"

namespace pralix::test {

class PortBank : public SerialPort, public SerialPortSource {
 public:
  // Adds a port; the bank keeps it.
  ScriptedPort& add(const QString& name) {
    ScriptedPort& port = ports_[name];
    if (oneClock_) port.shareClock(clockMs_);
    return port;
  }
  ScriptedPort* find(const QString& name) {
    const auto it = ports_.find(name);
    return it == ports_.end() ? nullptr : &it->second;
  }
  // Runs every port, those already added and those to come, on one clock,
  // so that waits on several ports at once overlap as in real time.
  void keepOneClock() {
    oneClock_ = true;
    for (auto& [name, port] : ports_) port.shareClock(clockMs_);
  }

  QString portName() const override { return name_; }
  void setPortName(const QString& name) override { name_ = name; }
  qint32 baudRate() const override { return baud_; }
  void setBaudRate(qint32 baud) override {
    baud_ = baud;
    if (open_) open_->setBaudRate(baud);
  }
  bool isOpen() const override { return open_ != nullptr && open_->isOpen(); }
  void open() override {
    ScriptedPort* port = find(name_);
    if (!port) throw PortOpenError(name_.toStdString() + ": no such port");
    if (port->isOpen() && port != open_) throw PortOpenError(name_.toStdString() + ": busy");
    port->open();
    // The scripted port knows its line speed, as the printer behind it does.
    port->setBaudRate(baud_);
    open_ = port;
    opened << name_;
  }
  void close() override {
    if (open_) open_->close();
    open_ = nullptr;
  }
  void clearBuffers() override { open_->clearBuffers(); }
  int write(const quint8* data, int count) override { return open_->write(data, count); }
  int read(quint8* buffer, int count) override { return open_->read(buffer, count); }
  int readWithin(quint8* buffer, int count, int timeoutMs) override {
    return open_->readWithin(buffer, count, timeoutMs);
  }

  std::unique_ptr<SerialPort> makePort() override;
  // The one clock.  Before keepOneClock() it stands at 0, so each port's wait
  // runs on that port's own clock.
  qint64 nowMs() const override { return clockMs_; }

  QStringList opened;          // names, each time the bank's own port object opened one
  QStringList openedOnTheirOwn;  // names, each time a port object from makePort() opened one

 private:
  std::map<QString, ScriptedPort> ports_;
  ScriptedPort* open_ = nullptr;
  QString name_ = "COM1";
  qint32 baud_ = 19200;
  bool oneClock_ = false;
  qint64 clockMs_ = 0;
};

// A port object of its own on one of the bank's scripted ports.  A scripted
// port another object holds open is busy.
class BankPort final : public SerialPort {
 public:
  explicit BankPort(PortBank& bank) : bank_(bank) {}
  ~BankPort() override { close(); }

  QString portName() const override { return name_; }
  void setPortName(const QString& name) override { name_ = name; }
  qint32 baudRate() const override { return baud_; }
  void setBaudRate(qint32 baud) override {
    baud_ = baud;
    if (open_) open_->setBaudRate(baud);
  }
  bool isOpen() const override { return open_ != nullptr; }
  void open() override {
    if (open_) return;
    ScriptedPort* port = bank_.find(name_);
    if (!port) throw PortOpenError(name_.toStdString() + ": no such port");
    if (port->isOpen()) throw PortOpenError(name_.toStdString() + ": busy");
    port->open();
    port->setBaudRate(baud_);
    open_ = port;
    bank_.openedOnTheirOwn << name_;
  }
  void close() override {
    if (open_) open_->close();
    open_ = nullptr;
  }
  void clearBuffers() override {
    if (open_) open_->clearBuffers();
  }
  int write(const quint8* data, int count) override { return open_ ? open_->write(data, count) : 0; }
  int read(quint8* buffer, int count) override { return open_ ? open_->read(buffer, count) : 0; }
  int readWithin(quint8* buffer, int count, int timeoutMs) override {
    return open_ ? open_->readWithin(buffer, count, timeoutMs) : 0;
  }

 private:
  PortBank& bank_;
  ScriptedPort* open_ = nullptr;
  QString name_ = "COM1";
  qint32 baud_ = 19200;
};

inline std::unique_ptr<SerialPort> PortBank::makePort() { return std::make_unique<BankPort>(*this); }

}  // namespace pralix::test
