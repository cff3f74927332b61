#pragma once
// An in-memory serial port with a virtual clock: bytes "arrive" at virtual
// times scripted per write, and reads honour the link's time-outs (100 ms
// between bytes, 100 ms per byte plus 100 ms in all) without real waiting.

#include <QByteArray>
#include <deque>
#include <functional>
#include <vector>

#include "interfaces/serial_port.h"

namespace pralix::test {

class ScriptedPort : public SerialPort {
 public:
  // Bytes that arrive delayMs after the previous chunk (the first one after
  // the write that triggered them).
  struct Chunk {
    qint64 delayMs;
    QByteArray bytes;
  };
  using Response = std::vector<Chunk>;
  // Called for each written frame that no queued response answers.
  using Responder = std::function<Response(const QByteArray& frame)>;

  QString portName() const override { return name_; }
  void setPortName(const QString& name) override { name_ = name; }
  qint32 baudRate() const override { return baud_; }
  void setBaudRate(qint32 baud) override { baud_ = baud; }

  bool isOpen() const override { return open_; }
  void open() override;
  void close() override;
  void clearBuffers() override;
  int write(const quint8* data, int count) override;
  int read(quint8* buffer, int count) override;
  // Takes what has arrived by now + timeoutMs, all of it when the first byte
  // is there; the clock stops at the first byte.
  int readWithin(quint8* buffer, int count, int timeoutMs) override;

  // Answers to the next writes, in order; then the responder; then silence.
  void queue(Response response) { queued_.push_back(std::move(response)); }
  void setResponder(Responder responder) { responder_ = std::move(responder); }
  const Responder& responder() const { return responder_; }
  // Bytes that arrive at a virtual time, whatever is written.
  void arriveAt(qint64 timeMs, const QByteArray& bytes);

  qint64 nowMs() const { return sharedNow_ ? *sharedNow_ : ownNow_; }
  // Runs the port on a clock shared with other ports, as real ports share
  // real time; it starts from the later of the two times.  ms must outlive the port.
  void shareClock(qint64& ms);
  const std::vector<QByteArray>& writes() const { return writes_; }
  int openCount() const { return opens_; }
  int clearCount() const { return clears_; }
  int readCalls() const { return reads_; }

  // Faults of the port itself.
  int acceptPerWrite = -1;   // bytes accepted per write; -1 = all
  bool refuseOpen = false;   // open() throws PortOpenError

 private:
  struct Pending {
    qint64 time;
    quint8 byte;
  };
  QString name_ = "COM1";
  qint32 baud_ = 19200;
  bool open_ = false;
  qint64 ownNow_ = 0;
  qint64* sharedNow_ = nullptr;
  std::deque<Pending> incoming_;  // ordered by time
  std::deque<Response> queued_;
  Responder responder_;
  std::vector<QByteArray> writes_;
  int opens_ = 0;
  int clears_ = 0;
  int reads_ = 0;

  void schedule(const Response& response);
  qint64& now() { return sharedNow_ ? *sharedNow_ : ownNow_; }
};

// Helpers that speak the printer's side.
struct PrinterReply {
  QByteArray data;
  quint8 status[6] = {0, 0, 0, 0, 0, 0};  // bits 0-5; sent as 0x80 | bits
};
// A valid reply frame to the request frame, echoing its sequence and command bytes.
QByteArray ReplyTo(const QByteArray& request, const PrinterReply& reply);
// A responder that answers every request at once with the reply that
// answer(command, data) gives.
ScriptedPort::Responder PrinterResponder(std::function<PrinterReply(int command, QByteArray data)> answer);
// The data bytes of a request frame.
QByteArray RequestData(const QByteArray& request);
int RequestCommand(const QByteArray& request);

}  // namespace pralix::test
