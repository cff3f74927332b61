#include "request_log.h"

#include <cerrno>
#include <cstring>

namespace pralix::sim {

RequestLog::~RequestLog() {
  if (file_) std::fclose(file_);
}

bool RequestLog::Open(const QString& path, QString* error) {
  file_ = std::fopen(path.toLocal8Bit().constData(), "w");
  if (!file_) *error = QStringLiteral("cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
  return file_ != nullptr;
}

QByteArray RequestLog::Hex(const QByteArray& bytes) { return bytes.toHex(' ').toUpper(); }

void RequestLog::Write(Nanos at, const char* tag, const QByteArray& bytes, const QByteArray& note) {
  if (!file_) return;
  const double seconds = double(at - origin_) / 1e9;
  std::fprintf(file_, "%.6f %s %s", seconds, tag, Hex(bytes).constData());
  if (!note.isEmpty()) std::fprintf(file_, " # %s", note.constData());
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace pralix::sim
