// The real tool's upload against the real desk: "pralix test" with the
// printer simulator on a pty posts its record to "pralix-desk serve", and a
// record the tool had to keep goes later with "pralix upload".

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "diagdata/diagdata_form.h"
#include "sim_process.h"
#include "support/desk_process.h"
#include "support/fresh_database.h"

namespace pralix::desk::test {
namespace {

struct ToolRun {
  int exitCode = -1;
  QJsonObject json;
  QByteArray err;
};

class ToolUploadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir().mkpath(folder_.filePath(QStringLiteral("c/Belmora/Appl")));
    QFile ini(folder_.filePath(QStringLiteral("c/Belmora/Appl/Version.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Ostrik]\r\nLink=10.2.5\r\n");
  }

  ToolRun runTool(const QStringList& arguments, quint16 deskPort, const QString& printerPort) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PRALIX_DRIVE_C"), folder_.filePath(QStringLiteral("c")));
    environment.insert(QStringLiteral("PRALIX_DIAG_URL"), QStringLiteral("http://127.0.0.1:%1/dijagnostika").arg(deskPort));
    environment.insert(QStringLiteral("PRALIX_OUTBOX"), folder_.filePath(QStringLiteral("outbox")));
    environment.insert(QStringLiteral("PRALIX_EXTRA_PORTS"), printerPort);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path());
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.setWorkingDirectory(folder_.path());
    tool.start(QStringLiteral(PRALIX_BIN), arguments);
    tool.closeWriteChannel();
    ToolRun run;
    if (!tool.waitForFinished(120000)) {
      tool.kill();
      tool.waitForFinished();
      return run;
    }
    run.exitCode = tool.exitCode();
    run.json = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
    run.err = tool.readAllStandardError();
    return run;
  }

  static QString field(const ToolRun& run, const char* name) {
    return run.json[QLatin1String("fields")].toObject()[QLatin1String(name)].toObject()[QStringLiteral("text")].toString();
  }

  QTemporaryDir folder_;
  FreshDatabase database_{DatabaseKind::Sqlite};
};

TEST_F(ToolUploadTest, TheToolsRecordIsStoredByteForByteAndAKeptOneFollowsLater) {
  pralix::test::SimProcess printer({QStringLiteral("--model"), QStringLiteral("0")});
  ASSERT_TRUE(printer.ok()) << printer.error().toStdString();
  const QStringList testArguments = {QStringLiteral("test"), QStringLiteral("--json"), QStringLiteral("--paper-wait"),
                                     QStringLiteral("0"), QStringLiteral("--model"), QStringLiteral("0")};
  auto desk = std::make_unique<DeskServer>(database_.url());
  ASSERT_TRUE(desk->ok()) << desk->error().constData();
  const qint64 before = QDateTime::currentMSecsSinceEpoch();
  const ToolRun sent = runTool(testArguments, desk->port(), printer.slavePath());
  ASSERT_EQ(sent.exitCode, 0) << sent.err.constData();
  EXPECT_TRUE(sent.json[QLatin1String("diag_data_sent")].toBool());

  // The body the tool encodes from what it showed, with the serial as the
  // record carries it (Latin letters).
  QStringList lines = {QStringLiteral("ibfm=AG100482")};
  const char* shown[][2] = {{"pib", "LEPIB"},  {"fw", "LEFirmware"}, {"jx", "LECurrJXVer"}, {"tg", "LETax"},
                            {"bpdi", "LEBPDI"}, {"plu", "LEPluNumber"}, {"cp", "LEFPPort"},   {"diff", "LEDTDiff"}};
  for (const auto& [name, widget] : shown) lines += QLatin1String(name) + QLatin1Char('=') + field(sent, widget);
  QString h6l;
  for (const QJsonValue& line : sent.json[QLatin1String("header")].toArray()) h6l += line.toString() + QStringLiteral("\r\n");
  lines += QStringLiteral("h6l=") + h6l + QStringLiteral("DIAG\n");

  std::vector<DiagRecord> kept = database_.open()->recordsOf(QStringLiteral("AG100482"));
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].rawBody, EncodeDiagDataForm(lines));
  EXPECT_EQ(kept[0].values[kH6l], h6l + QStringLiteral("DIAG\n"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"))
                  .match(kept[0].idempotencyKey)
                  .hasMatch())
      << kept[0].idempotencyKey.toStdString();
  EXPECT_EQ(kept[0].toolVersion, QStringLiteral(PRALIX_VERSION_TEXT));
  ASSERT_TRUE(kept[0].testedAtMs.has_value());
  EXPECT_LE(before - 1000, *kept[0].testedAtMs);  // the header carries milliseconds; the clock is the same
  EXPECT_LE(*kept[0].testedAtMs, kept[0].receivedAtMs);

  // With the desk down the tool keeps its record; "pralix upload" sends it
  // once the desk is back, and it keeps the time of its test.
  EXPECT_EQ(desk->terminate(), 0);
  const ToolRun keptRun = runTool(testArguments, desk->port(), printer.slavePath());
  ASSERT_EQ(keptRun.exitCode, 0) << keptRun.err.constData();
  EXPECT_FALSE(keptRun.json[QLatin1String("diag_data_sent")].toBool());
  desk = std::make_unique<DeskServer>(database_.url());
  ASSERT_TRUE(desk->ok()) << desk->error().constData();
  const qint64 restarted = QDateTime::currentMSecsSinceEpoch();
  const ToolRun upload = runTool({QStringLiteral("upload"), QStringLiteral("--json")}, desk->port(), printer.slavePath());
  EXPECT_EQ(upload.exitCode, 0) << upload.err.constData();
  EXPECT_EQ(upload.json[QLatin1String("sent")].toInt(), 1);

  kept = database_.open()->recordsOf(QStringLiteral("AG100482"));
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_NE(kept[1].idempotencyKey, kept[0].idempotencyKey);
  ASSERT_TRUE(kept[1].testedAtMs.has_value());
  EXPECT_LT(*kept[1].testedAtMs, restarted);  // tested while the desk was down
  EXPECT_GE(kept[1].receivedAtMs, restarted);
  EXPECT_EQ(desk->terminate(), 0);
}

}  // namespace
}  // namespace pralix::desk::test
