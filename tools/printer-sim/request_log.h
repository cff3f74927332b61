#pragma once
// The simulator's record of the line, one line of text per event, flushed
// at once so that a test can read it while the simulator runs:
//
//   <seconds since start> <TAG> <bytes in hex> [# note]
//
// Tags: RX a request frame as received (intact or damaged), RXPART a frame
// that stopped arriving, JUNK bytes from the PC outside any frame, TX bytes
// the printer puts on the line (queued at that moment, paced after it),
// SENT the moment the last queued byte was written (the line falls quiet).

#include <QByteArray>
#include <QString>
#include <cstdio>

#include "line_timing.h"

namespace pralix::sim {

class RequestLog {
 public:
  explicit RequestLog(Nanos origin) : origin_(origin) {}
  ~RequestLog();
  bool Open(const QString& path, QString* error);
  bool isOpen() const { return file_ != nullptr; }
  void Write(Nanos at, const char* tag, const QByteArray& bytes, const QByteArray& note = {});

  static QByteArray Hex(const QByteArray& bytes);

 private:
  Nanos origin_;
  FILE* file_ = nullptr;
};

}  // namespace pralix::sim
