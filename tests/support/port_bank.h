#pragma once
// The PC's serial ports as one port object, as the main window has it: the
// name set on it picks which scripted port answers; a name with no port
// behind it cannot be opened.

#include <QStringList>
#include <map>

#include "scripted_port.h"

namespace pralix::test {

class PortBank : public SerialPort {
 public:
  // Adds a port; the bank keeps it.
  ScriptedPort& add(const QString& name) { return ports_[name]; }
  ScriptedPort* find(const QString& name) {
    const auto it = ports_.find(name);
    return it == ports_.end() ? nullptr : &it->second;
  }

  QString portName() const override { return name_; }
  void setPortName(const QString& name) override { name_ = name; }
  qint32 baudRate() const override { return baud_; }
  void setBaudRate(qint32 baud) override { baud_ = baud; }
  bool isOpen() const override { return open_ != nullptr && open_->isOpen(); }
  void open() override {
    ScriptedPort* port = find(name_);
    if (!port) throw PortOpenError(name_.toStdString() + ": no such port");
    port->open();
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

  QStringList opened;  // names, each time a port was opened

 private:
  std::map<QString, ScriptedPort> ports_;
  ScriptedPort* open_ = nullptr;
  QString name_ = "COM1";
  qint32 baud_ = 19200;
};

}  // namespace pralix::test
