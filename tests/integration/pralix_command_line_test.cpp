// The command line's conventions as a user meets them: --version, --help for
// the tool and each command, Qt's own options for the window, usage errors,
// and a clear word instead of a crash where there is no display.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "app/display_presence.h"
#include "build_config.h"

namespace pralix {
using namespace Qt::StringLiterals;
namespace {

struct ToolRun {
  QProcess::ExitStatus status = QProcess::CrashExit;
  int exitCode = -1;
  QString out;
  QString err;
};

// Runs the tool in a private folder, with a drive C and a port list of its
// own, without any display unless env adds one.
ToolRun RunPralix(const QStringList& args, const QList<std::pair<QString, QString>>& env = {}) {
  QTemporaryDir dir;
  QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) e.remove(QString::fromLatin1(name));
  e.insert(u"PRALIX_DRIVE_C"_s, dir.path());
  e.insert(u"PRALIX_EXTRA_PORTS"_s, dir.filePath(u"no-such-port"_s));
  e.insert(u"PRALIX_DIAG_URL"_s, u"http://127.0.0.1:9/"_s);
  for (const auto& [name, value] : env) e.insert(name, value);
  QProcess process;
  process.setProcessEnvironment(e);
  process.setWorkingDirectory(dir.path());
  process.start(QString::fromUtf8(PRALIX_BIN), args);
  ToolRun run;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.status = process.exitStatus();
  run.exitCode = process.exitCode();
  run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
  run.err = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

std::string Shown(const ToolRun& run) { return ("stdout: " + run.out + "\nstderr: " + run.err).toStdString(); }

TEST(PralixCommandLineTest, VersionIsTheBuildsOwn) {
  for (const QString& flag : {u"--version"_s, u"-V"_s}) {
    const ToolRun run = RunPralix({flag});
    ASSERT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, u"pralix "_s + QStringLiteral(PRALIX_VERSION) + u"\n"_s);
    EXPECT_TRUE(run.err.isEmpty()) << Shown(run);
  }
}

TEST(PralixCommandLineTest, HelpGoesToStandardOutput) {
  for (const QString& flag : {u"--help"_s, u"-h"_s}) {
    const ToolRun run = RunPralix({flag});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(u"usage: pralix"_s)) << Shown(run);
    EXPECT_TRUE(run.out.contains(u"COMMAND --help"_s));
    EXPECT_TRUE(run.err.isEmpty()) << Shown(run);
  }
}

TEST(PralixCommandLineTest, EveryCommandAnswersHelp) {
  for (const char* command : {"send", "ports", "test", "report"}) {
    for (const QString& flag : {u"--help"_s, u"-h"_s}) {
      const ToolRun run = RunPralix({QString::fromLatin1(command), flag});
      EXPECT_EQ(run.exitCode, 0) << command << " " << Shown(run);
      EXPECT_TRUE(run.out.startsWith(u"usage: pralix "_s + QString::fromLatin1(command))) << Shown(run);
      EXPECT_TRUE(run.err.isEmpty()) << Shown(run);
    }
  }
}

TEST(PralixCommandLineTest, UsageErrorsGoToStandardErrorWithStatus2) {
  for (const QStringList& args : {QStringList{u"-stlye"_s, u"fusion"_s}, QStringList{u"--trace"_s},
                                  QStringList{u"-style"_s}, QStringList{u"fusion"_s}}) {
    const ToolRun run = RunPralix(args);
    EXPECT_EQ(run.exitCode, 2) << Shown(run);
    EXPECT_TRUE(run.out.isEmpty()) << Shown(run);
    EXPECT_TRUE(run.err.startsWith(u"pralix: "_s)) << Shown(run);
    EXPECT_TRUE(run.err.contains(u"usage: pralix"_s)) << Shown(run);
  }
}

TEST(PralixCommandLineTest, NoDisplayIsOneClearLineAndStatus2) {
  // Qt's options are accepted before the display is looked for.
  for (const QStringList& args : {QStringList{}, QStringList{u"-style"_s, u"fusion"_s, u"-reverse"_s},
                                  QStringList{u"-platform"_s, u"xcb"_s}}) {
    const ToolRun run = RunPralix(args);
    ASSERT_EQ(run.status, QProcess::NormalExit) << Shown(run);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, QString::fromLatin1(kNoDisplayMessage) + u"\n"_s);
    EXPECT_TRUE(run.out.isEmpty());
  }
}

TEST(PralixCommandLineTest, UnreachableDisplayEndsWithoutACrash) {
  // A DISPLAY that names no running X server makes Qt give up fatally.
  const ToolRun run = RunPralix({}, {{u"DISPLAY"_s, u":97"_s}});
  ASSERT_EQ(run.status, QProcess::NormalExit) << Shown(run);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.contains(u"pralix: the display cannot be opened"_s)) << Shown(run);
}

TEST(PralixCommandLineTest, WindowOpensWithQtOptionsOnAPlatformWithoutDisplay) {
  const ToolRun run = RunPralix({u"-platform"_s, u"offscreen"_s, u"-style"_s, u"fusion"_s, u"-qwindowtitle"_s,
                             u"Shop 3"_s, u"--exit-when-shown"_s});
  ASSERT_EQ(run.status, QProcess::NormalExit) << Shown(run);
  EXPECT_EQ(run.exitCode, 0) << Shown(run);
}

}  // namespace
}  // namespace pralix
