#include "soak_lane.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "expected_outcome.h"
#include "link/P00_fpcommand.h"
#include "link/P00_fpsend.h"
#include "platform/qt/qt_serial_port.h"

namespace pralix::soak {

namespace {

struct Request {
  int command;
  const char* data;
};

// Commands whose reply never changes while the printer runs, so that every
// valid reply to one of them must be the same bytes.
constexpr Request kRequests[] = {{99, ""}, {90, "1"}, {83, ""}, {68, ""}, {107, "I"}, {43, "I0"}, {43, "I3"}};
constexpr int kBaud = 19200;

// Reads the fault log as it grows.
class FaultLogTail {
 public:
  explicit FaultLogTail(const QString& path) : file_(path) {}
  QList<LoggedAttempt> NewAttempts(QList<QByteArray>* unreadable) {
    QList<LoggedAttempt> out;
    if (!file_.isOpen() && !file_.open(QIODevice::ReadOnly)) return out;
    pending_ += file_.readAll();
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
      const QByteArray line = pending_.left(end);
      pending_.remove(0, end + 1);
      if (const auto parsed = ParseFaultLogLine(line)) out << *parsed;
      else *unreadable << line;
    }
    return out;
  }

 private:
  QFile file_;
  QByteArray pending_;
};

QByteArray Describe(const QList<LoggedAttempt>& attempts) {
  QByteArray text = "[";
  for (const LoggedAttempt& a : attempts) text += (text.size() > 1 ? ", " : "") + a.fault.name;
  return text + "]";
}

void CountFaults(const QList<LoggedAttempt>& attempts, SoakTally* tally) {
  for (const LoggedAttempt& a : attempts) {
    const AttemptFault& f = a.fault;
    QByteArray kind = f.name.split(':').front();
    if (f.meets == Meets::TruncatedToStart) kind = "truncated:start";
    ++tally->attemptsPerFault[kind];
    if (f.receiptOut && !f.journalOut) ++tally->attemptsPerFault["+receipt"];
    if (f.journalOut) ++tally->attemptsPerFault["+journal"];
    if (f.displayOff) ++tally->attemptsPerFault["+display"];
    if (f.generalError && !f.displayOff) ++tally->attemptsPerFault["+general"];
  }
}

}  // namespace

SoakTally RunLane(const LaneConfig& config) {
  SoakTally tally;
  const auto fail = [&](const QByteArray& what) {
    if (tally.failures.size() < SoakTally::kFailuresKept)
      tally.failures << "lane " + QByteArray::number(config.lane) + ": " + what;
  };

  QTemporaryDir dir;
  const QString faultLog = dir.filePath("faults.log");
  QProcess sim;
  sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim.start(config.simulator, {"--model", "0", "--baud", QString::number(kBaud), "--random-faults",
                               QString::number(config.seed), "--fault-log", faultLog, "--busy-ms",
                               QString::number(config.busyMs)});
  QByteArray slave;
  if (sim.waitForStarted(10000)) {
    while (!slave.contains('\n') && sim.waitForReadyRead(10000)) slave += sim.readAllStandardOutput();
  }
  slave = slave.trimmed();
  if (slave.isEmpty()) {
    fail("the simulator did not start: " + sim.errorString().toUtf8());
    ++tally.wrongOutcomes;
    return tally;
  }

  QtSerialPort port;
  port.setPortName(QString::fromLocal8Bit(slave));
  port.setBaudRate(kBaud);
  LinkPort = &port;
  FPCommand00 cmd;
  FaultLogTail tail(faultLog);
  LineTiming timing;
  timing.byteMs = 10000.0 / kBaud;
  timing.busyMs = config.busyMs;
  std::map<QByteArray, QByteArray> firstReply;  // request -> the reply data it must always get

  for (int i = 0; i < config.exchanges; ++i) {
    const Request& r = kRequests[i % std::size(kRequests)];
    QElapsedTimer clock;
    clock.start();
    try {
      cmd.Execute(r.command, QByteArray(r.data));
    } catch (const PortOpenError& e) {
      fail(QByteArray("the port did not open: ") + e.what());
      ++tally.wrongOutcomes;
      break;
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    ++tally.exchanges;
    tally.totalMs += ms;
    tally.maxMs = std::max(tally.maxMs, ms);
    ++tally.exchangesPerCode[cmd.ErrorCode];

    QList<QByteArray> unreadable;
    const QList<LoggedAttempt> logged = tail.NewAttempts(&unreadable);
    CountFaults(logged, &tally);
    QList<AttemptFault> faults;
    bool otherSeq = false;
    for (const LoggedAttempt& a : logged) {
      faults << a.fault;
      otherSeq |= a.seq != SequenceNumber || a.command != r.command;
    }
    const Expected e = ExpectOutcome(faults, timing);
    const QByteArray key = QByteArray::number(r.command) + " " + r.data;

    QByteArray wrong;
    if (!unreadable.isEmpty()) wrong += " unreadable fault log line \"" + unreadable.front() + "\";";
    if (otherSeq) wrong += " a frame of another exchange;";
    if (cmd.ErrorCode != e.code)
      wrong += " code " + QByteArray::number(cmd.ErrorCode) + ", expected " + QByteArray::number(e.code) + ";";
    if (logged.size() != e.attempts)
      wrong += " " + QByteArray::number(logged.size()) + " frames, expected " + QByteArray::number(e.attempts) + ";";
    if (e.replyKept) {
      auto [it, first] = firstReply.emplace(key, cmd.ReplyData);
      if (!first && it->second != cmd.ReplyData) wrong += " reply \"" + cmd.ReplyData + "\" differs from \"" + it->second + "\";";
      if (cmd.ReplyData.isEmpty()) wrong += " empty reply data;";
    } else {
      bool statusClear = true;
      for (quint8 s : cmd.Status) statusClear &= s == 0;
      if (!cmd.ReplyData.isEmpty() || !statusClear) wrong += " reply data or status left after a failure;";
    }
    const QByteArray where = "exchange " + QByteArray::number(i) + " seq " +
                             QByteArray::number(SequenceNumber, 16).toUpper() + " cmd " + key.trimmed() + " " +
                             Describe(logged) + " " + QByteArray::number(ms, 'f', 0) + " ms";
    if (!wrong.isEmpty()) {
      ++tally.wrongOutcomes;
      fail(where + ":" + wrong);
    }
    tally.maxRatio = std::max(tally.maxRatio, ms / e.boundMs);
    // The bound is the read time-outs' own sum; half again plus a second
    // more is left for a loaded machine.
    if (ms > e.boundMs * 1.5 + 1000) {
      ++tally.overlong;
      fail(where + ": longer than the bound of " + QByteArray::number(e.boundMs, 'f', 0) + " ms");
    }
  }
  port.close();
  LinkPort = nullptr;
  sim.terminate();
  if (!sim.waitForFinished(5000)) sim.kill();
  sim.waitForFinished(1000);
  return tally;
}

}  // namespace pralix::soak
