// pralix test --report against the simulated printer, and the page as a real
// browser shows and prints it (skipped where Chromium is not installed).

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "sim_process.h"

namespace pralix {
namespace {

using test::SimProcess;

struct TestRun {
  int exitCode = -1;
  QString errors;
};

TestRun RunTestWithReport(const QTemporaryDir& dir, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PRALIX_DRIVE_C", dir.filePath("c"));
  env.insert("PRALIX_DIAG_URL", "http://127.0.0.1:9/dijagnostika");  // nobody listens: not sent
  env.insert("PRALIX_OUTBOX", dir.filePath("outbox"));
  env.insert("PRALIX_EXTRA_PORTS", "");
  QProcess tool;
  tool.setProcessEnvironment(env);
  tool.setWorkingDirectory(dir.path());
  tool.start(PRALIX_BIN, QStringList{"test", "--paper-wait", "0"} + args);
  tool.closeWriteChannel();
  TestRun run;
  if (!tool.waitForFinished(120000)) return run;
  run.exitCode = tool.exitCode();
  run.errors = QString::fromUtf8(tool.readAllStandardError());
  return run;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Chromium without a profile, network or GPU of its own; false when it
// failed or is not installed.
bool Chromium(const QTemporaryDir& dir, const QStringList& args) {
  const QString chromium = QStandardPaths::findExecutable("chromium");
  if (chromium.isEmpty()) return false;
  QProcess browser;
  browser.start(chromium, QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                      "--no-first-run", "--disable-background-networking",
                                      "--disable-component-update", "--disable-sync",
                                      "--user-data-dir=" + dir.filePath("chromium-profile")} +
                              args);
  return browser.waitForFinished(180000) && browser.exitCode() == 0;
}

TEST(TestReportFile, WrittenForAFoundPrinterAndShownByABrowserOnOneA4Page) {
  SimProcess sim({"--model", "0"});
  ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
  QTemporaryDir dir;
  const QString report = dir.filePath("report.html");
  const TestRun run = RunTestWithReport(dir, {"--port", sim.slavePath(), "--report", report});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QString page = QString::fromUtf8(ReadFile(report));
  EXPECT_TRUE(page.contains("Printer found"));
  EXPECT_TRUE(page.contains(sim.slavePath()));
  EXPECT_TRUE(page.contains("19200 baud"));
  EXPECT_TRUE(page.endsWith("</html>\n"));
  EXPECT_EQ(QDir(dir.path()).entryList({"report.html*"}, QDir::Files), QStringList{"report.html"});

  if (QStandardPaths::findExecutable("chromium").isEmpty()) GTEST_SKIP() << "chromium is not installed";
  const QString png = dir.filePath("report.png");
  const QString pdf = dir.filePath("report.pdf");
  ASSERT_TRUE(Chromium(dir, {"--screenshot=" + png, "--window-size=794,1123", "file://" + report}));
  EXPECT_TRUE(ReadFile(png).startsWith("\x89PNG\r\n\x1a\n"));
  ASSERT_TRUE(Chromium(dir, {"--print-to-pdf=" + pdf, "--no-pdf-header-footer", "file://" + report}));
  const QByteArray pdfBytes = ReadFile(pdf);
  // Each page of the PDF is one "/Type /Page" object (the page tree is "/Pages").
  const qsizetype pages = pdfBytes.count("/Type /Page") - pdfBytes.count("/Type /Pages");
  EXPECT_EQ(pages, 1);
  // A4 is 595 x 842 points.
  const qsizetype box = pdfBytes.indexOf("/MediaBox [0 0 ");
  ASSERT_GE(box, 0);
  const QList<QByteArray> size = pdfBytes.mid(box + 15, 40).split(']').first().split(' ');
  ASSERT_GE(size.size(), 2);
  EXPECT_NEAR(size[0].toDouble(), 595.0, 1.0);
  EXPECT_NEAR(size[1].toDouble(), 842.0, 1.0);
}

TEST(TestReportFile, NotFoundIsReportedAndAnUnwritableReportIsAnError) {
  QTemporaryDir dir;
  const QString report = dir.filePath("report.html");
  TestRun run = RunTestWithReport(dir, {"--port", dir.filePath("no-such-port"), "--report", report});
  EXPECT_EQ(run.exitCode, 1) << run.errors.toStdString();
  const QString page = QString::fromUtf8(ReadFile(report));
  EXPECT_TRUE(page.contains("Printer not found"));
  EXPECT_TRUE(page.contains("nije pravilno povezan"));  // the not-connected message, among the dialogs

  run = RunTestWithReport(dir, {"--port", dir.filePath("no-such-port"), "--report", dir.filePath("missing/r.html")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.errors.contains("pralix: cannot write the report")) << run.errors.toStdString();
}

}  // namespace
}  // namespace pralix
