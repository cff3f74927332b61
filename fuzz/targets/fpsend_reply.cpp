// The reply bytes through the exchange engine: a port plays the fuzzer's
// bytes as the printer's answer, with silences where the input asks for
// them, and the command object's real path decides the outcome.
//
// Input: [command] [data length] [silence count S] S read numbers... wire bytes...
// A read whose number (counted from 0) is listed gets nothing, as when the
// printer is silent for 100 ms; once the wire bytes are used up every read
// is silent.

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <set>

#include "fuzz_check.h"
#include "link/P00_fpcommand.h"
#include "link/P00_fpsend.h"

namespace {

using namespace pralix;

class PlayedPort final : public SerialPort {
 public:
  PlayedPort(QByteArray wire, std::set<int> silentReads) : wire_(std::move(wire)), silent_(std::move(silentReads)) {}

  QString portName() const override { return QStringLiteral("COM1"); }
  void setPortName(const QString&) override {}
  qint32 baudRate() const override { return 19200; }
  void setBaudRate(qint32) override {}
  bool isOpen() const override { return open_; }
  void open() override { open_ = true; }
  void close() override { open_ = false; }
  void clearBuffers() override {}

  int write(const quint8* data, int count) override {
    FUZZ_CHECK(count > 0);
    FUZZ_CHECK(data >= FrameBuffer && data + count <= FrameBuffer + kFrameBufferSize);
    writes.append(QByteArray(reinterpret_cast<const char*>(data), count));
    return count;
  }

  int read(quint8* buffer, int count) override {
    // The engine stores replies only in its frame buffer, within its bounds.
    FUZZ_CHECK(count > 0);
    const bool intoFrame = buffer >= FrameBuffer && buffer < FrameBuffer + kFrameBufferSize;
    if (intoFrame) FUZZ_CHECK(buffer + count <= FrameBuffer + kFrameBufferSize);
    const int call = reads++;
    if (silent_.count(call) || at_ >= wire_.size()) return 0;
    const int n = int(std::min<qsizetype>(count, wire_.size() - at_));
    for (int i = 0; i < n; ++i) buffer[i] = quint8(wire_[at_ + i]);
    at_ += n;
    return n;
  }

  // The engine never reads this way; the played wire serves it all the same.
  int readWithin(quint8* buffer, int count, int) override { return read(buffer, count); }

  QList<QByteArray> writes;
  int reads = 0;
  qsizetype consumed() const { return at_; }

 private:
  QByteArray wire_;
  std::set<int> silent_;
  qsizetype at_ = 0;
  bool open_ = false;
};

bool InResultTable(qint32 code) {
  switch (code) {
    case kOk: case kRequestTooLong: case kNoAnswer: case kNakStorm: case kNoLength: case kBadLength:
    case kIncompleteFrame: case kInconsistent: case kDisplayMissing: case kNoJournalPaper:
    case kNoReceiptPaper: case kGeneralError:
      return true;
    default:
      return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int command = data[0];
  const int dataLength = data[1];
  const size_t silenceCount = data[2];
  if (size < 3 + silenceCount) return 0;
  std::set<int> silentReads(data + 3, data + 3 + silenceCount);
  const QByteArray wire(reinterpret_cast<const char*>(data + 3 + silenceCount), int(size - 3 - silenceCount));

  PlayedPort port(wire, silentReads);
  LinkPort = &port;
  SequenceNumber = 0x1F;
  FPCommand00 cmd;
  cmd.Execute(command, QByteArray(dataLength, 'A'));
  LinkPort = nullptr;

  FUZZ_CHECK(InResultTable(cmd.ErrorCode));
  // Every write is the same, well-formed request frame.
  FUZZ_CHECK(cmd.ErrorCode == kRequestTooLong ? port.writes.isEmpty() : !port.writes.isEmpty());
  FUZZ_CHECK(port.writes.size() <= 2 * kMaxAttempts);
  for (const QByteArray& frame : port.writes) FUZZ_CHECK(frame == port.writes.first());
  // Each read either takes a byte or is one of a bounded run of silent
  // ones, so the exchange ends within a bound set by the bytes it got.
  FUZZ_CHECK(port.reads <= (port.consumed() + 1) * kMaxSilentReads + kMaxAttempts * (kMaxFrameReads + 3 * kMaxSilentReads));

  switch (cmd.ErrorCode) {
    case kOk: case kDisplayMissing: case kNoJournalPaper: case kNoReceiptPaper: case kGeneralError: {
      // A valid reply: its own sequence and command, data without a 00
      // byte, status bits that match the status bytes.
      FUZZ_CHECK(cmd.ReplySeq == 0x20);
      FUZZ_CHECK(cmd.ReplyCommand == quint8(command));
      FUZZ_CHECK(cmd.FrameLength >= kMinReplyLength);
      FUZZ_CHECK(cmd.ReplyData.size() <= cmd.FrameLength - kMinReplyLength);
      FUZZ_CHECK(!cmd.ReplyData.contains('\0'));
      for (int i = 0; i < 6; ++i) {
        FUZZ_CHECK(cmd.Status[i] <= 0x3F);
        for (int j = 0; j < 6; ++j) FUZZ_CHECK(cmd.StatusBits[i][j] == bool((cmd.Status[i] >> j) & 1));
      }
      const bool paperOut = cmd.StatusBits[2][0];
      const bool general = cmd.StatusBits[0][5];
      FUZZ_CHECK((cmd.ErrorCode == kOk) == (!paperOut && !general));
      break;
    }
    case kBadLength:
      FUZZ_CHECK(cmd.FrameLength < kMinLengthByte);
      FUZZ_CHECK(cmd.ReplyData.isEmpty());
      break;
    default:
      FUZZ_CHECK(cmd.ReplyData.isEmpty());
  }
  // The text a technician sees is always there for a failure.
  FUZZ_CHECK((cmd.ErrorCode == kOk) == cmd.ErrorText().isEmpty());
  return 0;
}
