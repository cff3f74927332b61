#include "support/postgres_program.h"

#include <QProcess>

namespace pralix::desk::test {

bool RunPostgresProgram(const PostgresProgramPlace& place, const QStringList& command, int timeoutMs, QString* output) {
  QStringList arguments = command;
  QString program = place.binaries + QLatin1Char('/') + arguments.takeFirst();
  if (place.asPostgresUser) {
    arguments = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} + arguments;
    program = QStringLiteral("runuser");
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setWorkingDirectory(place.folder);
  process.start(program, arguments);
  const bool finished = process.waitForFinished(timeoutMs);
  *output = QString::fromLocal8Bit(process.readAll()).trimmed();
  return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

}  // namespace pralix::desk::test
