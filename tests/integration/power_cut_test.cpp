// Power cuts: "pralix test" killed with SIGKILL at random moments around
// the end of a test, where it rewrites Link.ini, appends to Pralix_log.txt
// and replaces the version copy.  After every cut each file is the old or the
// new version, never a mix, never empty; the log's old bytes are a prefix and
// what follows is whole lines.  PRALIX_POWERCUT_COUNT sets the number of cuts
// (scripts/powercut runs 1000); PRALIX_POWERCUT_SEED the random moments.

#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "sim_process.h"

namespace pralix {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

int EnvNumber(const char* name, int fallback) {
  bool ok = false;
  const int v = qEnvironmentVariableIntValue(name, &ok);
  return ok && v > 0 ? v : fallback;
}

class PowerCut : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    // Big enough that the rewrite takes a while and a cut can land inside it.
    QByteArray ini = "[Printer]\r\nPort=COM1,19200\r\n";
    for (int i = 0; i < 100000; ++i) ini += "Article" + QByteArray::number(i) + "=some shop setting\r\n";
    oldIni = ini;
    newIni = ini;
    newIni.replace("Port=COM1,19200", "Port=" + sim.slavePath().toUtf8());
    WriteAll(linkIni(), oldIni);
  }

  QString linkIni() const { return dir.filePath("c/Belmora/Appl/Link.ini"); }
  QString versionIni() const { return dir.filePath("c/Belmora/Appl/Version.ini"); }
  QString log() const { return dir.filePath("work/Pralix_log.txt"); }
  QString versionCopy() const { return dir.filePath("work/Pralix2_log.txt"); }

  // Starts "pralix test"; kills it after killAfterMs (never when negative).
  // Returns how long it ran.
  qint64 Run(qint64 killAfterMs, bool* finished) {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PRALIX_DRIVE_C", dir.filePath("c"));
    env.insert("PRALIX_DIAG_URL", "http://127.0.0.1:9/dijagnostika");  // refused at once
    env.insert("PRALIX_OUTBOX", dir.filePath("outbox"));
    env.insert("XDG_RUNTIME_DIR", dir.path());
    tool.setProcessEnvironment(env);
    QDir().mkpath(dir.filePath("work"));
    tool.setWorkingDirectory(dir.filePath("work"));
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    tool.start(PRALIX_BIN, {"test", "--model", "0", "--port", sim.slavePath(), "--paper-wait", "0"});
    if (!tool.waitForStarted(10000)) {
      *finished = false;
      return -1;
    }
    if (killAfterMs >= 0 && !tool.waitForFinished(int(killAfterMs))) {
      ::kill(pid_t(tool.processId()), SIGKILL);
      tool.waitForFinished(10000);
      *finished = false;
    } else {
      tool.waitForFinished(120000);
      *finished = tool.exitStatus() == QProcess::NormalExit;
    }
    return clock.elapsed();
  }

  QTemporaryDir dir;
  test::SimProcess sim{{"--model", "0"}};
  QByteArray oldIni, newIni;
};

// One whole log line as the tool writes it: nine parts and the date.
bool IsWholeLogLines(const QByteArray& tail) {
  static const QRegularExpression line(R"(^[^\r\n]*, \d{4}-\d{2}-\d{2}$)");
  if (!tail.isEmpty() && !tail.endsWith("\r\n")) return false;
  for (const QByteArray& l : tail.split('\n')) {
    if (l.isEmpty()) continue;
    if (!l.endsWith('\r') || !line.match(QString::fromLatin1(l.chopped(1))).hasMatch()) return false;
  }
  return true;
}

TEST_F(PowerCut, EveryFileIsOldOrNewAfterEachCut) {
  const int cuts = EnvNumber("PRALIX_POWERCUT_COUNT", 50);
  QRandomGenerator random(quint32(EnvNumber("PRALIX_POWERCUT_SEED", 14)));

  // One uncut run shows how long a test takes here.
  WriteAll(versionIni(), "[Ostrik]\r\nLink=10.2.0\r\n");
  bool finished = false;
  const qint64 whole = Run(-1, &finished);
  ASSERT_TRUE(finished);
  ASSERT_EQ(ReadAll(linkIni()), newIni) << "the uncut test rewrites Link.ini";
  ASSERT_TRUE(IsWholeLogLines(ReadAll(log())));

  int linkOld = 0, linkNew = 0, between = 0, logGrew = 0, copyNew = 0, damaged = 0, leftovers = 0;
  qint64 lastOld = whole / 2, firstNew = whole + whole / 5;
  for (int cut = 0; cut < cuts; ++cut) {
    SCOPED_TRACE("cut " + std::to_string(cut));
    WriteAll(linkIni(), oldIni);
    // A new version file each time, so that the copy's old and new differ.
    QByteArray version = "[Ostrik]\r\nLink=10.2." + QByteArray::number(cut + 1) + "\r\n";
    for (int i = 0; i < 2000; ++i) version += "Module" + QByteArray::number(i) + "=" + QByteArray::number(cut) + "\r\n";
    WriteAll(versionIni(), version);
    const QByteArray logBefore = ReadAll(log());
    const QByteArray copyBefore = ReadAll(versionCopy());

    // One cut in five anywhere; the others close in on the moment of the
    // writes: between the latest cut that left Link.ini old and the earliest
    // that found it new, widened a little each time so the window can move.
    const qint64 at = random.bounded(5) == 0 ? qint64(random.bounded(int(whole)))
                                               : lastOld + qint64(random.bounded(int(firstNew - lastOld) + 1));
    Run(at, &finished);

    const QByteArray ini = ReadAll(linkIni());
    const QByteArray logAfter = ReadAll(log());
    const QByteArray copy = ReadAll(versionCopy());
    const bool iniOk = ini == oldIni || ini == newIni;
    const bool logOk = logAfter.startsWith(logBefore) && IsWholeLogLines(logAfter.mid(logBefore.size()));
    const bool copyOk = copy == copyBefore || copy == version;
    EXPECT_TRUE(iniOk) << "Link.ini is neither old nor new: " << ini.size() << " bytes";
    EXPECT_TRUE(logOk) << "the log lost bytes or ends in part of a line";
    EXPECT_TRUE(copyOk) << "the version copy is neither old nor new: " << copy.size() << " bytes";
    damaged += !iniOk + !logOk + !copyOk;
    if (ini == oldIni) lastOld = std::max(lastOld, at);
    if (ini == newIni) firstNew = std::min(firstNew, at);
    lastOld = std::max<qint64>(0, std::min(lastOld, firstNew) - 20);
    firstNew = std::max(firstNew, lastOld + 40) + 20;
    linkOld += ini == oldIni;
    linkNew += ini == newIni;
    logGrew += logAfter.size() > logBefore.size();
    between += ini == newIni && logAfter.size() == logBefore.size();
    copyNew += copy == version && copy != copyBefore;
    // A cut inside a rewrite leaves its unfinished temporary file beside the real one.
    const QStringList beside = QDir(QFileInfo(linkIni()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : beside)
      if (name != "Link.ini" && name != "Version.ini") {
        ++leftovers;
        QFile::remove(QFileInfo(linkIni()).absolutePath() + "/" + name);
      }
  }
  std::printf("[ POWERCUT ] %d cuts (a test takes %lld ms): Link.ini old %d, new %d (log not yet grown %d); log grew %d; "
              "version copy replaced %d; damaged files %d; temporary files left by a cut %d\n",
              cuts, qlonglong(whole), linkOld, linkNew, between, logGrew, copyNew, damaged, leftovers);
  EXPECT_EQ(damaged, 0);
}

}  // namespace
}  // namespace pralix
