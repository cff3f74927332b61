#include "workstation/text_lines.h"

#include <QFile>
#include <QSaveFile>
#include <stdexcept>

namespace pralix {

QList<QByteArray> SplitTextLines(const QByteArray& text) {
  QList<QByteArray> lines;
  qsizetype start = 0;
  qsizetype i = 0;
  while (i < text.size()) {
    const char c = text.at(i);
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines << text.mid(start, i - start);
    i += (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines << text.mid(start);
  return lines;
}

QByteArray JoinCrLfLines(const QList<QByteArray>& lines) {
  QByteArray text;
  for (const QByteArray& line : lines) text += line + "\r\n";
  return text;
}

QByteArray ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString() + ": " + file.errorString().toStdString());
  QByteArray content = file.readAll();
  if (file.error() != QFileDevice::NoError) throw std::runtime_error("cannot read " + path.toStdString() + ": " + file.errorString().toStdString());
  return content;
}

void ReplaceFileContent(const QString& path, const QByteArray& content) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
    throw std::runtime_error("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
}

}  // namespace pralix
