#include "workstation/log_file_writes.h"

#include <QFile>

namespace pralix {
namespace {

// What must go before the new line so that it starts a line of its own.
QByteArray LineEndMissingAtEnd(QFile& file, qint64 size) {
  if (size == 0 || !file.seek(size - 1)) return {};
  char last = 0;
  if (!file.getChar(&last)) return {};
  if (last == '\n') return {};
  return last == '\r' ? QByteArray("\n") : QByteArray("\r\n");
}

}  // namespace

QString AppendLogLine(const QString& path, const QByteArray& line) {
  QFile file(path);
  const bool existed = file.exists();
  // Reading is only wanted to look at the last byte; a log that refuses to be
  // read is appended to all the same.
  const auto append = QIODevice::Append | QIODevice::Unbuffered;
  const bool readable = file.open(QIODevice::ReadWrite | append);
  if (!readable && !file.open(QIODevice::WriteOnly | append)) return file.errorString();

  const qint64 sizeBefore = file.size();
  QByteArray record = readable ? LineEndMissingAtEnd(file, sizeBefore) : QByteArray();
  record += line;
  record += "\r\n";

  if (file.write(record) == record.size() && file.flush()) {
    file.close();
    if (file.error() == QFileDevice::NoError) return {};
  }
  const QString reason = file.errorString();
  if (existed) {
    if (!file.isOpen()) file.open(QIODevice::WriteOnly | append);
    file.resize(sizeBefore);
    file.close();
  } else {
    file.close();
    file.remove();
  }
  return reason.isEmpty() ? QStringLiteral("Write error") : reason;
}

}  // namespace pralix
