// "pralix send --json" as a technician runs it, against the printer
// simulator on a paced pseudo-terminal.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "support/sim_process.h"

namespace pralix {
namespace {

using test::SimProcess;

struct SendRun {
  int exitCode = -1;
  QJsonObject reply;
  QString err;

  int code() const { return reply["code"].toInt(-1); }
  QString field(int i) const { return reply["fields"].toArray().at(i).toString(); }
  QStringList bits() const {
    QStringList names;
    for (const QJsonValue& v : reply["status_bits"].toArray()) names << v.toString();
    return names;
  }
  QList<int> status() const {
    QList<int> bytes;
    for (const QJsonValue& v : reply["status"].toArray()) bytes << v.toInt();
    return bytes;
  }
};

SendRun Send(const SimProcess& sim, const QStringList& command, int baud = 19200) {
  QProcess process;
  process.start(QString::fromUtf8(PRALIX_BIN), QStringList{"send", "--port", sim.slavePath(), "--baud",
                                                           QString::number(baud), "--json"} + command);
  SendRun run;
  if (!process.waitForFinished(60000)) return run;
  run.exitCode = process.exitCode();
  run.reply = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// The request frame the tool must write for command 62 as its first exchange.
const QByteArray kFirst62 = QByteArray("\x01\x24\x20\x3E\x05\x30\x30\x38\x37\x03", 10);

#define START_SIM(name, ...)            \
  SimProcess name(QStringList{__VA_ARGS__}); \
  ASSERT_TRUE(name.ok()) << name.error().toStdString()

TEST(SimSend, ReadsThePrinterClockWithItsOffset) {
  START_SIM(sim, "--clock-offset", "-3600");
  const SendRun run = Send(sim, {"62"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.code(), 0);
  const QDateTime printer =
      QDateTime::fromString(run.reply["reply_data"].toString(), "dd-MM-yy HH:mm:ss").addYears(100);
  ASSERT_TRUE(printer.isValid()) << run.reply["reply_data"].toString().toStdString();
  EXPECT_LT(qAbs(printer.secsTo(QDateTime::currentDateTime().addSecs(-3600))), 120);
  EXPECT_EQ(run.status(), (QList<int>{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(sim.receivedFrames(), QList<QByteArray>{kFirst62});
}

TEST(SimSend, CyrillicSerialComesThroughAsWindows1251) {
  START_SIM(sim, "--model", "6", "--baud", "38400");
  const SendRun run = Send(sim, {"90", "1"}, 38400);
  ASSERT_EQ(run.code(), 0) << run.err.toStdString();
  EXPECT_EQ(run.field(0) + "," + run.field(1), "3.00SR 02JUN11 2100,820F");
  EXPECT_EQ(run.field(4), QString::fromUtf8("ЛК730265"));
  EXPECT_EQ(sim.receivedFrames(), QList<QByteArray>{QByteArray("\x01\x25\x20\x5A\x31\x05\x30\x30\x3D\x35\x03")});
}

TEST(SimSend, SilentPrinterIsGivenUpAfterFourAttemptsWithCode3) {
  START_SIM(sim, "--fault", "silent");
  const SendRun run = Send(sim, {"62"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.code(), 3);
  EXPECT_EQ(run.reply["error_text"].toString(),
            "Stampac se ne javlja - proverite stampac i kabl!\n\nStatus: 000000000000");
  EXPECT_EQ(sim.receivedFrames(), QList<QByteArray>(4, kFirst62));
}

TEST(SimSend, NakStormEndsWithCode4AfterExactlyFourFrames) {
  START_SIM(sim, "--fault", "nak");
  const SendRun run = Send(sim, {"62"});
  EXPECT_EQ(run.code(), 4);
  EXPECT_TRUE(run.reply["error_text"].toString().startsWith("Stampac javlja greske u komunikaciji"));
  EXPECT_EQ(sim.receivedFrames(), QList<QByteArray>(4, kFirst62));
  EXPECT_EQ(sim.sentBytes(), QList<QByteArray>(4, QByteArray("\x15")));
}

TEST(SimSend, BusyBytesKeepTheToolWaitingUntilTheAnswer) {
  START_SIM(sim, "--fault", "busy", "--busy-ms", "1200");
  const SendRun run = Send(sim, {"68"});
  EXPECT_EQ(run.code(), 0) << run.err.toStdString();
  EXPECT_EQ(run.field(0), "1746");
  EXPECT_EQ(sim.receivedFrames().size(), 1) << "no repeat while busy bytes come";
  ASSERT_EQ(sim.sentBytes().size(), 2);
  EXPECT_EQ(sim.sentBytes()[0], QByteArray(20, '\x16'));
}

TEST(SimSend, LengthByteBelow0x20IsRefusedAtOnceWithCode6) {
  START_SIM(sim, "--fault", "short-length");
  const SendRun run = Send(sim, {"62"});
  EXPECT_EQ(run.code(), 6);
  EXPECT_TRUE(run.reply["error_text"].toString().startsWith("Stampac je vratio duzinu 31 - van opsega!"));
  EXPECT_EQ(sim.receivedFrames().size(), 1);
}

struct Condition {
  const char* name;
  QStringList args;
  int code;
  const char* text;  // start of the error text; empty for code 0
  QStringList bits;
};

class SimSendCondition : public ::testing::TestWithParam<Condition> {};

TEST_P(SimSendCondition, PrinterConditionBecomesItsResultCode) {
  const Condition& c = GetParam();
  SimProcess sim(c.args);
  ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
  const SendRun run = Send(sim, {"62"});
  EXPECT_EQ(run.code(), c.code);
  EXPECT_EQ(run.exitCode, c.code == 0 ? 0 : 1);
  EXPECT_TRUE(run.reply["error_text"].toString().startsWith(QString::fromLatin1(c.text)))
      << run.reply["error_text"].toString().toStdString();
  EXPECT_EQ(run.bits(), c.bits);
  EXPECT_EQ(run.reply["reply_data"].toString().size(), 17) << "the reply data stays";
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, SimSendCondition,
    ::testing::Values(
        Condition{"ReceiptPaperOut", {"--paper-out", "receipt"}, 99, "Nema BON papira!", {"#NoPaper"}},
        Condition{"JournalPaperOut", {"--paper-out", "journal"}, 98, "Nema JOURNAL papira!", {"#NoPaper", "NoPaperJrnl"}},
        Condition{"GeneralError", {"--general-error"}, 100, "Greska 100!\n\nStatus: 200000000000", {"GeneralError#"}},
        Condition{"DisplayMissing",
                  {"--display-missing"},
                  97,
                  "Povezite Display za kupca sa Stampacem!\n\nStatus: 280000000000",
                  {"Display Not Conn", "GeneralError#"}},
        Condition{"ClockNotSet", {"--clock-not-set"}, 0, "", {"DateTime Not Set"}},
        Condition{"Fiscalized", {"--status-bit", "5.3"}, 0, "", {"IsFiscalized"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimSend, PaperOutOnlyForTheFirstReplyThenThePrinterAnswersAgain) {
  START_SIM(sim, "--paper-out", "journal:1");
  EXPECT_EQ(Send(sim, {"62"}).code(), 98);
  EXPECT_EQ(Send(sim, {"62"}).code(), 0);
}

TEST(SimSend, SimulatorRemovesItsLinkAndStopsCleanlyOnSigterm) {
  QTemporaryDir dir;
  const QString link = dir.filePath("ttyFP");
  SimProcess sim({"--link", link, "--model", "14"});
  ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
  EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.slavePath());
  const SendRun run = Send(sim, {"99"}, 115200);
  EXPECT_EQ(run.field(0), "175123456");
  EXPECT_EQ(sim.stop(), 0);
  EXPECT_FALSE(QFileInfo(link).isSymLink());
}

}  // namespace
}  // namespace pralix
