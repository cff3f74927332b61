#include "sim_process.h"

#include <QElapsedTimer>
#include <QFile>

#include "support/qt_core_application.h"

namespace pralix::test {

SimProcess::SimProcess(const QStringList& args) {
  // QProcess, and the QSerialPort a test opens next, want an application object.
  pralix::test::EnsureQtCoreApplication();
  if (!dir_.isValid()) {
    error_ = QStringLiteral("no temporary folder");
    return;
  }
  logPath_ = dir_.filePath(QStringLiteral("sim.log"));
  process_.setProgram(QString::fromUtf8(PRALIX_SIM_BIN));
  process_.setArguments(args + QStringList{QStringLiteral("--log"), logPath_});
  process_.start();
  if (!process_.waitForStarted(10000)) {
    error_ = QStringLiteral("cannot start %1: %2").arg(process_.program(), process_.errorString());
    return;
  }
  QElapsedTimer timer;
  timer.start();
  while (!process_.canReadLine() && timer.elapsed() < 10000 && process_.state() == QProcess::Running)
    process_.waitForReadyRead(int(10000 - timer.elapsed()));
  const QString line = QString::fromLocal8Bit(process_.readLine()).trimmed();
  if (!line.startsWith('/')) {
    process_.waitForFinished(2000);
    error_ = QStringLiteral("the simulator printed no pty path: %1 %2")
                 .arg(line, QString::fromLocal8Bit(process_.readAllStandardError()));
    return;
  }
  slavePath_ = line;
}

SimProcess::~SimProcess() { stop(); }

int SimProcess::stop() {
  if (process_.state() == QProcess::NotRunning) return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  process_.terminate();
  if (!process_.waitForFinished(5000)) {
    process_.kill();
    process_.waitForFinished(5000);
    return -1;
  }
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QStringList SimProcess::logLines() const {
  QFile file(logPath_);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

QList<QByteArray> SimProcess::BytesOfTag(const QString& tag) const {
  // "<seconds> <TAG> <hex bytes> [# note]"
  QList<QByteArray> out;
  for (const QString& line : logLines()) {
    const QStringList words = line.section(QStringLiteral(" #"), 0, 0).split(' ', Qt::SkipEmptyParts);
    if (words.size() < 2 || words[1] != tag) continue;
    QByteArray bytes;
    for (const QString& hex : words.mid(2)) bytes.append(char(hex.toInt(nullptr, 16)));
    out << bytes;
  }
  return out;
}

QList<QByteArray> SimProcess::receivedFrames() const { return BytesOfTag(QStringLiteral("RX")); }

QList<QByteArray> SimProcess::sentBytes() const { return BytesOfTag(QStringLiteral("TX")); }

}  // namespace pralix::test
