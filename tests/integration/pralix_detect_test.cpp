// "pralix detect" against simulators at their own line speeds over real
// ptys, beside a silent pty and a pty that answers garbage at every speed.

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "sim_process.h"

namespace pralix {
namespace {

using sim::kModelIdentities;
using test::SimProcess;

struct DetectRun {
  int exitCode = -1;
  QJsonObject json;
  QString out;
  QStringList workDirFiles;
};

DetectRun RunDetect(const QStringList& ports, bool json = true) {
  QTemporaryDir dir;
  QProcess tool;
  tool.setWorkingDirectory(dir.path());
  QStringList args{"detect"};
  for (const QString& port : ports) args << "--port" << port;
  if (json) args << "--json";
  tool.start(PRALIX_BIN, args);
  tool.closeWriteChannel();
  DetectRun run;
  if (!tool.waitForFinished(60000)) return run;
  run.exitCode = tool.exitCode();
  run.out = QString::fromUtf8(tool.readAllStandardOutput());
  if (json) run.json = QJsonDocument::fromJson(run.out.toUtf8()).object();
  run.workDirFiles = QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
  return run;
}

std::vector<int> Indices(const QJsonObject& o) {
  std::vector<int> indices;
  for (const QJsonValue& c : o["candidates"].toArray()) indices.push_back(c.toObject()["index"].toInt());
  return indices;
}

// A pty nobody answers on.
class SilentPty {
 public:
  SilentPty() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) path_ = QString::fromLocal8Bit(name);
  }
  ~SilentPty() {
    close(master_);
    close(slave_);
  }
  const QString& path() const { return path_; }

 private:
  int master_ = -1, slave_ = -1;
  QString path_;
};

// What reached each simulator: command numbers only, and no command but the
// reading ones.
void ExpectOnlyReadingCommands(const SimProcess& sim) {
  for (const QByteArray& frame : sim.receivedFrames()) {
    const int command = quint8(frame.at(3));
    EXPECT_TRUE(command == 62 || command == 90) << command;
  }
}

TEST(PralixDetect, FindsEachModelAtItsOwnSpeedBehindSilentAndGarbagePorts) {
  struct Case {
    int model;
    std::vector<int> expected;
  };
  const Case cases[] = {{6, {6}}, {9, {9}}, {12, {12, 13}}, {5, {5}}};
  SilentPty silent;
  ASSERT_FALSE(silent.path().isEmpty());
  // Garbage at every speed: a printer at a speed the tool never uses.
  SimProcess garbage({"--baud", "4800", "--wrong-speed-noise"});
  ASSERT_TRUE(garbage.ok()) << garbage.error().toStdString();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    SimProcess printer({"--model", QString::number(c.model)});
    ASSERT_TRUE(printer.ok()) << printer.error().toStdString();
    const DetectRun run = RunDetect({silent.path(), garbage.slavePath(), "/dev/pralix-no-such-port", printer.slavePath()});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(run.json["port"].toString(), printer.slavePath());
    EXPECT_EQ(run.json["baud"].toInt(), kModelIdentities[c.model].baud);
    EXPECT_EQ(Indices(run.json), c.expected);
    EXPECT_EQ(run.json["candidates"].toArray()[0].toObject()["line"].toString(),
              QString::fromUtf8(kModelIdentities[c.expected[0]].catalogueLine));
    EXPECT_TRUE(run.workDirFiles.isEmpty()) << "no file written: " << run.workDirFiles.join(' ').toStdString();
    ExpectOnlyReadingCommands(printer);
    ExpectOnlyReadingCommands(garbage);
  }
}

TEST(PralixDetect, TwoPrintersAtDifferentSpeedsTheMoreCommonSpeedWins) {
  SimProcess fast({"--model", "15"});   // 115200
  SimProcess common({"--model", "0"});  // 19200
  ASSERT_TRUE(fast.ok() && common.ok());
  const DetectRun run = RunDetect({fast.slavePath(), common.slavePath()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.json["port"].toString(), common.slavePath());
  EXPECT_EQ(Indices(run.json), std::vector<int>{0});
  // The simulator at 115200 heard the 19200 request and stayed silent.
  EXPECT_TRUE(fast.sentBytes().isEmpty());
  EXPECT_FALSE(fast.receivedFrames().isEmpty());
}

TEST(PralixDetect, NoPrinterGivesNullsAndExitOne) {
  SilentPty silent;
  SimProcess garbage({"--baud", "4800", "--wrong-speed-noise"});
  ASSERT_TRUE(garbage.ok());
  const DetectRun run = RunDetect({silent.path(), garbage.slavePath()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.json["port"].isNull());
  EXPECT_TRUE(run.json["baud"].isNull());
  EXPECT_TRUE(run.json["candidates"].toArray().isEmpty());
  EXPECT_FALSE(garbage.sentBytes().isEmpty()) << "the garbage port did answer";
  const DetectRun text = RunDetect({silent.path()}, /*json=*/false);
  EXPECT_EQ(text.exitCode, 1);
  EXPECT_TRUE(text.out.contains("No printer answered on any port at any speed"));
}

TEST(PralixDetect, TextOutputAndUsageErrors) {
  SimProcess printer({"--model", "13"});
  ASSERT_TRUE(printer.ok());
  const DetectRun run = RunDetect({printer.slavePath()}, /*json=*/false);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out.contains("Baud:  19200"));
  EXPECT_TRUE(run.out.contains("12  MKD (AC) PF-550   19200"));
  EXPECT_TRUE(run.out.contains("13  MKD (AC) PF-700   19200"));
  QProcess tool;
  tool.start(PRALIX_BIN, {"detect", "--model", "3"});
  ASSERT_TRUE(tool.waitForFinished(30000));
  EXPECT_EQ(tool.exitCode(), 2);
  tool.start(PRALIX_BIN, {"detect", "extra"});
  ASSERT_TRUE(tool.waitForFinished(30000));
  EXPECT_EQ(tool.exitCode(), 2);
}

}  // namespace
}  // namespace pralix
