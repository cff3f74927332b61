#pragma once
// The real pralix-desk program as a child process: "serve" running until
// the test stops it, or a command run to its end.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace pralix::desk::test {

struct DeskRun {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

// Runs pralix-desk with the arguments to its end (at most two minutes).
DeskRun RunDesk(const QStringList& arguments, const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

class DeskServer {
 public:
  // Starts "pralix-desk serve --listen 127.0.0.1:0 --database URL" plus
  // extra; ok() and port() wait for its "listening on" line.
  explicit DeskServer(const QString& databaseUrl, const QStringList& extra = {});
  ~DeskServer();
  DeskServer(const DeskServer&) = delete;
  DeskServer& operator=(const DeskServer&) = delete;

  bool ok() { return port() != 0; }
  quint16 port();
  // Why it did not start: its standard error.
  QByteArray error();
  // SIGTERM, then waits for the exit; the exit code, or -1 after a crash or
  // when it had to be killed.
  int terminate();
  // The same in two steps, so the test can read answers in between.
  void sendTerminate();
  int waitForExit();
  // SIGKILL, as the OOM killer or a crash would end it, and waits for the
  // end; false when something else had ended it before.
  bool kill();
  QByteArray standardError();
  // Its process id, for what /proc tells of it (the page benchmark's memory).
  qint64 processId() const { return process_.processId(); }

 private:
  QProcess process_;
  bool started_ = false;
  quint16 port_ = 0;
  QByteArray firstLine_;
};

}  // namespace pralix::desk::test
