#pragma once
// pralix-printer-sim as a child process for tests and benchmarks: started
// with the given arguments plus a request log in a private temporary
// folder, ready once it has printed its pty path, stopped by the destructor.
// Needs no event loop.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The simulator's default identity per model (kModelIdentities), from which
// tests compute the texts they expect.
#include "../../tools/printer-sim/model_identity.h"

namespace pralix::test {

class SimProcess {
 public:
  // Starts PRALIX_SIM_BIN with args and "--log <dir>/sim.log"; waits up to
  // 10 s for the slave path.  Check ok() before using the path.
  explicit SimProcess(const QStringList& args = {});
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool ok() const { return !slavePath_.isEmpty(); }
  // Why the start failed (with the simulator's standard error), if it did.
  const QString& error() const { return error_; }
  const QString& slavePath() const { return slavePath_; }
  const QString& logPath() const { return logPath_; }
  // A private folder that lives as long as this object (for --link paths).
  QString directory() const { return dir_.path(); }
  qint64 pid() const { return process_.processId(); }

  QStringList logLines() const;
  // Every request frame the simulator received, intact or damaged, in order.
  QList<QByteArray> receivedFrames() const;
  // Every byte run the simulator queued for the line, in order.
  QList<QByteArray> sentBytes() const;

  // SIGTERM, then SIGKILL after 5 s.  Returns the exit code, -1 if killed.
  int stop();

 private:
  QList<QByteArray> BytesOfTag(const QString& tag) const;

  QTemporaryDir dir_;
  QProcess process_;
  QString slavePath_;
  QString logPath_;
  QString error_;
};

}  // namespace pralix::test
