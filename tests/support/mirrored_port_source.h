#pragma once
// For rigs that run every port through one scripted port: port objects of
// their own, each answering as that port's responder does on the object's
// own name and speed, all on one clock.

#include <memory>

#include "interfaces/serial_port_source.h"
#include "scripted_port.h"

namespace pralix::test {

class MirroredPortSource final : public SerialPortSource {
 public:
  explicit MirroredPortSource(ScriptedPort& model) : model_(model) {}

  std::unique_ptr<SerialPort> makePort() override {
    auto port = std::make_unique<ScriptedPort>();
    ScriptedPort* mirror = port.get();
    port->shareClock(clockMs_);
    port->setResponder([this, mirror](const QByteArray& frame) -> ScriptedPort::Response {
      if (!model_.responder()) return {};
      // The model's responder reads the line from the model: lend it ours.
      const QString name = model_.portName();
      const qint32 baud = model_.baudRate();
      model_.setPortName(mirror->portName());
      model_.setBaudRate(mirror->baudRate());
      ScriptedPort::Response response = model_.responder()(frame);
      model_.setPortName(name);
      model_.setBaudRate(baud);
      return response;
    });
    return port;
  }
  qint64 nowMs() const override { return clockMs_; }

 private:
  ScriptedPort& model_;
  qint64 clockMs_ = 0;
};

}  // namespace pralix::test
