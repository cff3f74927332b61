// "pralix report" against the printer simulator: what reaches the wire for
// each report, and how refusals and usage errors end.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "sim_process.h"

namespace pralix {
namespace {

using test::SimProcess;

struct ReportRun {
  int exitCode = -1;
  QString out;
  QString errors;
};

ReportRun RunReport(const QStringList& args) {
  QTemporaryDir dir;
  QProcess tool;
  tool.setWorkingDirectory(dir.path());
  tool.start(PRALIX_BIN, QStringList{"report"} + args + QStringList{"--paper-wait", "0"});
  tool.closeWriteChannel();
  ReportRun run;
  if (!tool.waitForFinished(60000)) return run;
  run.exitCode = tool.exitCode();
  run.out = QString::fromUtf8(tool.readAllStandardOutput());
  run.errors = QString::fromUtf8(tool.readAllStandardError());
  return run;
}

// The data of every request frame the simulator received, with its command.
QStringList Requests(const SimProcess& sim) {
  QStringList requests;
  for (const QByteArray& frame : sim.receivedFrames())
    requests << QString::number(quint8(frame.at(3))) + ":" + QString::fromLatin1(frame.mid(4, frame.size() - 10));
  return requests;
}

struct Case {
  QStringList args;
  QStringList wire;
};

TEST(PralixReport, EachReportSendsItsCommandForTheModel) {
  const Case cases[] = {
      {{"x"}, {"69:2"}},
      {{"z"}, {"69:0A"}},
      {{"z", "--model", "8"}, {"69:0a"}},
      {{"x", "--model", "12"}, {"69:3"}},
      {{"z", "--model", "13"}, {"69:1"}},
      {{"z", "--model", "14"}, {"69:0"}},
      {{"diagnostic"}, {"71:"}},
      {{"periodic", "--from", "2021-01-05", "--to", "2021-02-07"}, {"79:050121,070221"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    SimProcess sim({"--baud", "115200"});
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    const ReportRun run = RunReport(c.args + QStringList{"--port", sim.slavePath(), "--baud", "115200"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(Requests(sim), c.wire);
  }
}

TEST(PralixReport, DiagnosticPrintoutWaitsForPaperAndRepeats) {
  SimProcess sim({"--paper-out", "receipt:1"});
  ASSERT_TRUE(sim.ok());
  const ReportRun run = RunReport({"diagnostic", "--port", sim.slavePath()});
  EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_TRUE(run.errors.contains("[MSG - 1003]\nNestalo je papira na BON-u ili JOURNAL-u!"));
  EXPECT_EQ(Requests(sim), (QStringList{"71:", "71:"}));
}

TEST(PralixReport, RefusedAndImpossibleReports) {
  {
    SimProcess sim({"--general-error"});
    ASSERT_TRUE(sim.ok());
    const ReportRun run = RunReport({"z", "--port", sim.slavePath()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains("Result code: 100")) << run.out.toStdString();
    EXPECT_TRUE(run.errors.isEmpty()) << "the X, Z and periodic reports show nothing";
  }
  {
    const ReportRun run = RunReport({"x", "--port", "/dev/pralix-no-such-port"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("/dev/pralix-no-such-port")) << run.errors.toStdString();
    EXPECT_FALSE(run.out.contains("Result code")) << "no exchange took place";
  }
}

TEST(PralixReport, UsageErrorsSendNothing) {
  SimProcess sim;
  ASSERT_TRUE(sim.ok());
  const QStringList port{"--port", sim.slavePath()};
  const QStringList usage[] = {
      {"y"},
      {"periodic"},
      {"periodic", "--from", "2021-03-05", "--to", "2021-02-07"},
      {"x", "--model", "16"},
      {"periodic", "--from", "1999-12-31", "--to", "2000-01-01"},
      {"periodic", "--from", "2021-1-05", "--to", "2021-02-07"},
  };
  for (const QStringList& args : usage) {
    SCOPED_TRACE(args.join(' ').toStdString());
    EXPECT_EQ(RunReport(args + port).exitCode, 2);
  }
  EXPECT_TRUE(sim.receivedFrames().isEmpty());
  EXPECT_TRUE(RunReport(usage[2] + port).errors.contains("Od / From mora biti manje ili jednako od Do / To !"));
  EXPECT_TRUE(RunReport(usage[4] + port).errors.contains("must be from 01.01.2000 till 31.12.2099"));
  EXPECT_TRUE(RunReport(usage[5] + port).errors.contains("must be dates written YYYY-MM-DD"));
}

}  // namespace
}  // namespace pralix
