#include "support/desk_process.h"

#include <QRegularExpression>
#include <csignal>

namespace pralix::desk::test {

DeskRun RunDesk(const QStringList& arguments, const QProcessEnvironment& environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(PRALIX_DESK_BIN), arguments);
  DeskRun run;
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

DeskServer::DeskServer(const QString& databaseUrl, const QStringList& extra) {
  process_.start(QStringLiteral(PRALIX_DESK_BIN),
                 QStringList{QStringLiteral("serve"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                             QStringLiteral("--database"), databaseUrl} +
                     extra);
}

quint16 DeskServer::port() {
  if (started_) return port_;
  started_ = true;
  while (!process_.canReadLine() && process_.state() != QProcess::NotRunning) process_.waitForReadyRead(60000);
  firstLine_ = process_.readLine().trimmed();
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("^listening on http://127\\.0\\.0\\.1:(\\d+)$")).match(QString::fromLatin1(firstLine_));
  if (match.hasMatch()) port_ = quint16(match.captured(1).toUInt());
  return port_;
}

DeskServer::~DeskServer() {
  if (process_.state() != QProcess::NotRunning) terminate();
}

QByteArray DeskServer::error() {
  process_.waitForFinished(10000);
  return firstLine_ + process_.readAllStandardError();
}

int DeskServer::terminate() {
  sendTerminate();
  return waitForExit();
}

void DeskServer::sendTerminate() { process_.terminate(); }

int DeskServer::waitForExit() {
  if (!process_.waitForFinished(120000)) {
    process_.kill();
    process_.waitForFinished();
    return -1;
  }
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

bool DeskServer::kill() {
  process_.kill();
  process_.waitForFinished(120000);
  // Qt keeps the signal that ended a process as its exit code.
  return process_.exitStatus() == QProcess::CrashExit && process_.exitCode() == SIGKILL;
}

QByteArray DeskServer::standardError() { return process_.readAllStandardError(); }

}  // namespace pralix::desk::test
