// Finding the printer without its model: the port walk with its short first
// wait, the detection over ports and speeds, the model table, and action 3.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "fake_http_client.h"
#include "fake_platform.h"
#include "port_bank.h"
#include "recording_mutex.h"
#include "recording_ui.h"
#include "link/P00_fpsend.h"
#include "link/frame.h"
#include "workstation/find_printer_texts.h"
#include "workstation/model_catalogue.h"
#include "workstation/model_fingerprint.h"
#include "workstation/port_screen.h"
#include "workstation/printer_detection.h"
#include "workstation/workstation.h"

namespace pralix {
namespace {

using test::PortBank;
using test::PrinterReply;
using test::RecordingUi;
using test::RequestCommand;
using test::ScriptedPort;
using Kind = RecordingUi::Kind;

// Command 90 "1" replies laid out as each family of models lays them out.
QByteArray Serbian(const QByteArray& serial, const char* fw = "1.22SR 09NOV03 1230,BB78") {
  return QByteArray(fw) + ",00100110,SRB," + serial;
}
const QByteArray kMne550 = "2.10CG 10APR05 1030,35C2,00100110,MNE,VG550123456";
const QByteArray kMne700 = "VG-700,3.01CG 11JUN09 1530,91F7,00100110,VG700418,MNE";
const QByteArray kMne1000 = "1.00CG 12MAY15 1230,674C,00100110,VG001573,MNE";
const QByteArray kFp2 = "1.00CG 02NOV11 1530,2642,00100110,MNE,RM200318";
const QByteArray kMkd = "PF-550,1.00MK 23JUL14 1230,21F5,00100110,MKD,FM004200417";
const QByteArray kBug = "FP-550,1.00BG 11APR11 1530,0744,00100110,DT514227,BUG";
const QByteArray kMlw = "FP-700,1.10MW 30JAN14 1030,6FFB,00100110,00MW100742,MLW";

TEST(ModelFingerprint, RankModelsTellsTheModelsAtOneSpeedApart) {
  struct Case {
    qint32 baud;
    QByteArray reply;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {19200, Serbian("\xC0\xC3" "100482"), {0}},   // АГ
      {19200, Serbian("A\xC3" "100482"), {0}},      // Latin A, Cyrillic Г
      {19200, Serbian("\xD1\xA3" "204117"), {1}},   // СЈ
      {19200, Serbian("\xC0\xA3" "402931"), {3}},   // АЈ
      {19200, Serbian("AG402931"), {3}},            // Latin AG is the GP-550's
      {19200, kMne550, {8}},
      {19200, kFp2, {11}},
      {19200, kMkd, {12, 13}},                      // nothing tells these two apart
      {57600, Serbian("\xD1\xC3" "311560"), {2}},   // СГ
      {57600, Serbian("XX311560"), {2}},
      {57600, Serbian("\xC7\xC8" "845903"), {7}},   // ЗИ
      {9600, Serbian("\xC0\xC8" "510077"), {4}},    // АИ
      {9600, Serbian("\xC0\xCA" "623418"), {5}},    // АК
      {38400, Serbian("\xCB\xCA" "730265"), {6}},   // ЛК
      {115200, kMne700, {9}},
      {115200, kMne1000, {10}},
      {115200, kBug, {14}},
      {115200, kMlw, {15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply.toStdString());
    EXPECT_EQ(RankModels(c.baud, c.reply), c.expected);
  }
}

TEST(ModelFingerprint, WhatTheRepliesCannotDecideLeavesEveryFittingModel) {
  EXPECT_EQ(RankModels(19200, std::nullopt), (std::vector<int>{0, 1, 3, 8, 11, 12, 13})) << "command 90 failed";
  EXPECT_EQ(RankModels(115200, QByteArray()), (std::vector<int>{9, 10, 14, 15})) << "an empty reply";
  // Firmware of a Serbian printer with an unknown serial prefix: the Serbian
  // models at that speed before the others.
  EXPECT_EQ(RankModels(19200, Serbian("ZZ123456")), (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(RankModels(12345, kMne550), std::vector<int>{}) << "no model at that speed";
}

TEST(ModelFingerprint, FirmwareLettersNeedTheVersionShape) {
  EXPECT_EQ(FirmwareLetters("1.22SR 09NOV03 1230"), "SR");
  EXPECT_EQ(FirmwareLetters("3.01CG"), "CG");
  EXPECT_EQ(FirmwareLetters("VG-700"), "");
  EXPECT_EQ(FirmwareLetters("1.2SR"), "");
  EXPECT_EQ(FirmwareLetters("1.22sr"), "");
}

// A printer that hears only at its own speed, on a port of the bank.
struct SpeedPrinter {
  PortBank* bank;
  qint32 baud;
  QByteArray deviceInfo;
  bool answers90 = true;
  void attachTo(ScriptedPort& port) {
    port.setResponder([this, &port](const QByteArray& request) -> ScriptedPort::Response {
      if (port.baudRate() != baud) return {};
      const int command = RequestCommand(request);
      if (command == 90 && !answers90) return {};
      const QByteArray data = command == 62 ? QByteArray("08-12-26 10:00:20") : command == 90 ? deviceInfo : QByteArray();
      return {{1, test::ReplyTo(request, PrinterReply{data})}};
    });
  }
};

class DetectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SequenceNumber = 0x1F;
    LinkPort = &bank;
    bank.keepOneClock();
  }
  void TearDown() override { LinkPort = nullptr; }
  DetectionResult detect(const QStringList& ports) { return DetectPrinter(bank, cmd, ports, bank); }
  static std::vector<int> commandsOn(const ScriptedPort& port) {
    std::vector<int> commands;
    for (const QByteArray& frame : port.writes()) commands.push_back(RequestCommand(frame));
    return commands;
  }
  PortBank bank;
  FPCommand00 cmd;
};

TEST_F(DetectionTest, PrinterOnTheLastPortAtTheLastSpeedCostsOneCommonWaitPerSpeed) {
  for (const char* name : {"COM1", "COM2", "COM3"}) bank.add(name);
  SpeedPrinter printer{&bank, 38400, Serbian("\xCB\xCA" "730265")};
  printer.attachTo(bank.add("COM4"));
  const DetectionResult r = detect({"COM1", "COM2", "COM3", "COM4"});
  EXPECT_EQ(r.port, "COM4");
  EXPECT_EQ(r.baud, 38400);
  EXPECT_EQ(r.candidates, std::vector<int>{6});
  EXPECT_EQ(bank.opened, QStringList{"COM4"}) << "the silent ports get no probe";
  EXPECT_EQ(bank.openedOnTheirOwn.size(), 20) << "every port screened at every speed";
  EXPECT_FALSE(bank.isOpen()) << "closed at the end";
  for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) EXPECT_FALSE(bank.find(name)->isOpen()) << name;
  // Four silent speeds of one read time-out each, the fifth until the answer,
  // then the two exchanges.
  EXPECT_GE(bank.nowMs(), 4 * kScreenWaitMs);
  EXPECT_LE(bank.nowMs(), 5 * kScreenWaitMs + 20);
  EXPECT_EQ(commandsOn(*bank.find("COM4")), (std::vector<int>{62, 62, 62, 62, 62, 62, 90})) << "reading commands only";
  EXPECT_EQ(commandsOn(*bank.find("COM1")), (std::vector<int>{62, 62, 62, 62, 62}));
}

TEST_F(DetectionTest, FourSilentPortsCostOneReadTimeOutPerSpeedNotFour) {
  for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) bank.add(name);
  const DetectionResult r = detect({"COM1", "COM2", "COM3", "COM4"});
  EXPECT_FALSE(r.found());
  EXPECT_EQ(bank.nowMs(), qint64(kDetectionSpeeds.size()) * kScreenWaitMs);
  EXPECT_TRUE(bank.opened.isEmpty()) << "no probe at all";
  EXPECT_EQ(bank.openedOnTheirOwn.size(), 20) << "one screen per speed, none repeated";
  EXPECT_EQ(SequenceNumber, 0x1F) << "screens use up no sequence number";
}

TEST_F(DetectionTest, APrinterOnTheFirstPortCostsNoWaitForTheSilentPortsAfterIt) {
  SpeedPrinter printer{&bank, 19200, kMne550};
  printer.attachTo(bank.add("COM1"));
  for (const char* name : {"COM2", "COM3", "COM4"}) bank.add(name);
  const DetectionResult r = detect({"COM1", "COM2", "COM3", "COM4"});
  EXPECT_EQ(r.port, "COM1");
  EXPECT_EQ(r.candidates, std::vector<int>{8});
  EXPECT_LT(bank.nowMs(), kScreenWaitMs) << "the screen ended at the printer's first byte";
  EXPECT_EQ(bank.opened, QStringList{"COM1"});
  for (const char* name : {"COM2", "COM3", "COM4"})
    EXPECT_EQ(bank.find(name)->writes().size(), 1u) << "the screen's request only: " << name;
}

TEST_F(DetectionTest, APortRejectedByTheProbeHasThePortsAfterItScreenedAgain) {
  bank.add("COM1").setResponder([](const QByteArray&) {
    return ScriptedPort::Response{{2, QByteArray::fromHex("7f01c9a455fe0b")}};  // a printer at another speed
  });
  bank.add("COM2");
  SpeedPrinter printer{&bank, 19200, kFp2};
  printer.attachTo(bank.add("COM3"));
  bank.add("COM4");
  const DetectionResult r = detect({"COM1", "COM2", "COM3", "COM4"});
  EXPECT_EQ(r.port, "COM3");
  EXPECT_EQ(r.baud, 19200);
  EXPECT_EQ(r.candidates, std::vector<int>{11});
  EXPECT_EQ(bank.opened, (QStringList{"COM1", "COM3"})) << "the garbage is probed and rejected, then the printer";
  EXPECT_EQ(bank.openedOnTheirOwn, (QStringList{"COM1", "COM2", "COM3", "COM4", "COM2", "COM3", "COM4"}));
  EXPECT_EQ(commandsOn(*bank.find("COM1")), (std::vector<int>{62, 62})) << "screened once, probed once";
  EXPECT_EQ(commandsOn(*bank.find("COM4")), (std::vector<int>{62, 62})) << "screened again, never probed";
  // The second screen waits for the silent COM2, once.
  EXPECT_GE(bank.nowMs(), kScreenWaitMs);
  EXPECT_LT(bank.nowMs(), 2 * kScreenWaitMs + 300);
  // The second screen's request carries the number after the rejected probe,
  // and the probe on COM3 repeats it.
  const std::vector<QByteArray>& wire = bank.find("COM3")->writes();
  ASSERT_EQ(wire.size(), 4u);
  EXPECT_EQ(quint8(wire[0][2]), 0x20) << "the first screen, as the probe of COM1";
  EXPECT_EQ(quint8(wire[1][2]), quint8(bank.find("COM1")->writes()[1][2]) + 1);
  EXPECT_EQ(wire[2], wire[1]);
  EXPECT_EQ(RequestCommand(wire[3]), 90);
}

TEST_F(DetectionTest, ThePrintersPortSeesTheScreenFrameThenTheProbeExchange) {
  bank.add("COM1");
  SpeedPrinter printer{&bank, 19200, Serbian("\xC0\xC3" "100482")};
  printer.attachTo(bank.add("COM2"));
  const DetectionResult r = detect({"COM1", "COM2"});
  ASSERT_EQ(r.port, "COM2");
  quint8 frame[kRequestOverhead];
  EncodeRequest(0x20, 62, {}, frame);
  const QByteArray first62(reinterpret_cast<const char*>(frame), kRequestOverhead);
  const std::vector<QByteArray>& wire = bank.find("COM2")->writes();
  ASSERT_EQ(wire.size(), 3u);
  EXPECT_EQ(wire[0], first62) << "the screen's request";
  EXPECT_EQ(wire[1], first62) << "the probe: the same request, a repeat to the printer";
  EXPECT_EQ(RequestCommand(wire[2]), 90);
  EXPECT_EQ(quint8(wire[2][2]), 0x21);
  EXPECT_EQ(bank.find("COM1")->writes().size(), 1u) << "the silent port: the screen's request only";
}

TEST_F(DetectionTest, NoiseGoesOnToTheProbeAndIsRejectedThere) {
  // A printer at a speed the catalogue does not use: garbage at every speed.
  bank.add("COM1").setResponder([](const QByteArray&) {
    return ScriptedPort::Response{{2, QByteArray::fromHex("7f01c9a455fe0b")}};
  });
  SpeedPrinter printer{&bank, 9600, Serbian("\xC0\xC8" "510077")};
  printer.attachTo(bank.add("COM2"));
  const DetectionResult r = detect({"COM1", "COM2"});
  EXPECT_EQ(r.port, "COM2");
  EXPECT_EQ(r.baud, 9600);
  EXPECT_EQ(r.candidates, std::vector<int>{4});
  EXPECT_EQ(bank.opened, (QStringList{"COM1", "COM1", "COM1", "COM1", "COM2"})) << "probed after the noise";
  EXPECT_EQ(commandsOn(*bank.find("COM1")), std::vector<int>(8, 62)) << "screen and probe at four speeds";
}

TEST_F(DetectionTest, TheFirstPortWithAValidReplyWinsAndTheLaterOneGetsNoProbe) {
  bank.add("COM1");
  SpeedPrinter onCom2{&bank, 19200, kMkd};
  onCom2.attachTo(bank.add("COM2"));
  SpeedPrinter onCom3{&bank, 19200, kFp2};
  onCom3.attachTo(bank.add("COM3"));
  const DetectionResult r = detect({"COM3", "COM1", "COM2"});
  EXPECT_EQ(r.port, "COM3") << "the order given, not the names' order";
  EXPECT_EQ(r.candidates, std::vector<int>{11});
  EXPECT_EQ(bank.find("COM2")->writes().size(), 1u);
}

TEST_F(DetectionTest, SpeedsAreTriedMostCommonFirstOnEveryPort) {
  ScriptedPort& silent = bank.add("COM1");
  SpeedPrinter printer{&bank, 9600, Serbian("\xC0\xC8" "510077")};
  printer.attachTo(bank.add("COM2"));
  std::vector<qint32> bauds;
  silent.setResponder([&](const QByteArray&) {
    bauds.push_back(silent.baudRate());
    return ScriptedPort::Response{};
  });
  const DetectionResult r = detect({"COM1", "COM2"});
  EXPECT_EQ(bauds, (std::vector<qint32>{19200, 115200, 57600, 9600}));
  EXPECT_EQ(r.port, "COM2");
  EXPECT_EQ(r.candidates, std::vector<int>{4});
}

TEST_F(DetectionTest, GarbageBusyAndVanishedPortsGiveNotFoundInBoundedTime) {
  bank.add("COM1").setResponder([](const QByteArray&) {
    return ScriptedPort::Response{{2, QByteArray::fromHex("7f01c9a455fe0b")}};  // a printer at another speed
  });
  bank.add("COM2").refuseOpen = true;  // busy
  bank.add("COM3").acceptPerWrite = 0;   // adapter pulled: nothing goes out
  const DetectionResult r = detect({"COM1", "COM2", "COM3", "COM9"});
  EXPECT_FALSE(r.found());
  EXPECT_EQ(r.baud, 0);
  EXPECT_TRUE(r.candidates.empty());
  EXPECT_EQ(bank.opened, QVector<QString>(5, QStringLiteral("COM1")).toList()) << "only the port that gave bytes is probed";
  EXPECT_LE(bank.nowMs(), 5 * (kScreenWaitMs + 300));
}

TEST_F(DetectionTest, APortThatVanishesAfterTheScreenIsSkipped) {
  ScriptedPort& pulled = bank.add("COM1");
  pulled.setResponder([&pulled](const QByteArray& request) {
    pulled.refuseOpen = true;  // unplugged right after this request
    return ScriptedPort::Response{{1, test::ReplyTo(request, PrinterReply{"08-12-26 10:00:20"})}};
  });
  SpeedPrinter printer{&bank, 57600, kMne1000};
  printer.attachTo(bank.add("COM2"));
  const DetectionResult r = detect({"COM1", "COM2"});
  EXPECT_EQ(r.port, "COM2");
  EXPECT_EQ(r.baud, 57600);
  EXPECT_EQ(pulled.writes().size(), 1u);
}

TEST_F(DetectionTest, ThePortHeldByAnEarlierExchangeIsLetGoBeforeTheScreen) {
  SpeedPrinter printer{&bank, 19200, kMne550};
  printer.attachTo(bank.add("COM1"));
  bank.setPortName("COM1");
  bank.open();  // the window's port object, still open after a test
  const DetectionResult r = detect({"COM1"});
  EXPECT_EQ(r.port, "COM1");
  EXPECT_EQ(r.candidates, std::vector<int>{8});
}

TEST_F(DetectionTest, APrinterThatFailsTheModelReadIsFoundWithEveryModelAtItsSpeed) {
  SpeedPrinter printer{&bank, 115200, kBug, /*answers90=*/false};
  printer.attachTo(bank.add("COM1"));
  const DetectionResult r = detect({"COM1"});
  EXPECT_EQ(r.port, "COM1");
  EXPECT_EQ(r.baud, 115200);
  EXPECT_EQ(r.candidates, (std::vector<int>{9, 10, 14, 15}));
  EXPECT_LE(bank.nowMs(), 2 * kScreenWaitMs + 400);
}

TEST_F(DetectionTest, APrinterReportingPaperOutStillCounts) {
  bank.add("COM1").setResponder(test::PrinterResponder([](int, QByteArray) {
    PrinterReply r{kMkd};
    r.status[2] = 0x01;
    return r;
  }));
  const DetectionResult r = detect({"COM1"});
  EXPECT_EQ(r.baud, 19200);
  EXPECT_EQ(r.candidates, (std::vector<int>{12, 13}));
}

// The main window's logic around the port walk and action 3.
class FindPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SequenceNumber = 0x1F;
    for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) deviceMap.entries.push_back({"\\Device\\Serial0", name});
    for (const char* name : {"COM1", "COM2", "COM3"}) bank.add(name);
  }
  qint64 msOn(const QString& name) { return bank.find(name)->nowMs(); }

  QTemporaryDir dir;
  PortBank bank;
  test::FakeSerialDeviceMap deviceMap;
  test::FakeProcessControl processes;
  test::FakeDriveC driveC{dir.filePath("c")};
  test::FakeWindowsVersionSource version;
  test::FakeHttpClient http;
  RecordingUi ui;
  test::RecordingMutex mutex;
  YellowMsg yellow{ui, mutex};
  TFormFP formFP{ui, yellow};
  struct Clock0 final : Clock {
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)); }
  } clock;
  Workstation workstation{WorkstationDeps{bank, formFP, ui, clock, deviceMap, processes, driveC, version, http,
                                          QUrl("http://diag.test/dijagnostika"), dir.path(), nullptr, &bank}};
};

TEST_F(FindPrinterTest, ThreeEmptyPortsBeforeThePrinterCostOneReadEachAndLeaveItsWireAsItWas) {
  SpeedPrinter printer{&bank, 19200, Serbian("\xC0\xC3" "100482")};
  printer.attachTo(bank.add("COM4"));
  ASSERT_TRUE(workstation.StartUp());
  EXPECT_EQ(workstation.FormKeyPress(u'1'), QChar());
  EXPECT_EQ(workstation.fields().LEFPPort.text, "COM4/Ser");
  for (const char* name : {"COM1", "COM2", "COM3"}) {
    EXPECT_LE(msOn(name), 200) << name;
    EXPECT_EQ(bank.find(name)->writes().size(), 1u) << name;
  }
  // Each empty port used up one sequence number, as with the full waits.
  const std::vector<QByteArray>& wire = bank.find("COM4")->writes();
  ASSERT_EQ(wire.size(), 16u);
  for (size_t i = 0; i < wire.size(); ++i) EXPECT_EQ(quint8(wire[i][2]), 0x23 + i) << i;
}

TEST_F(FindPrinterTest, APrinterThatAnswersLateIsFoundByTheSecondWalkWithFullWaits) {
  ScriptedPort& late = bank.add("COM4");
  late.setResponder([](const QByteArray& request) {
    return ScriptedPort::Response{{350, test::ReplyTo(request, PrinterReply{"08-12-26 10:00:20"})}};
  });
  ASSERT_TRUE(workstation.StartUp());
  workstation.FormKeyPress(u'1');
  EXPECT_EQ(workstation.fields().LEFPPort.text, "COM4/Ser");
  EXPECT_EQ(bank.opened, (QStringList{"COM1", "COM2", "COM3", "COM4", "COM1", "COM2", "COM3", "COM4"}));
  EXPECT_EQ(bank.find("COM1")->writes().size(), 1u + 4u) << "short, then the engine's four attempts";
}

TEST_F(FindPrinterTest, NoPrinterAnywhereRunsBothWalksAndShowsTheNotConnectedMessageOnce) {
  bank.add("COM4");
  ASSERT_TRUE(workstation.StartUp());
  workstation.FormKeyPress(u'1');
  EXPECT_EQ(bank.opened.size(), 8);
  EXPECT_EQ(ui.count(Kind::Information), 1);
}

TEST_F(FindPrinterTest, KeyThreeDetectsSelectsTheBestModelAndTestsIt) {
  SpeedPrinter printer{&bank, 115200, kMlw};
  printer.attachTo(bank.add("COM4"));
  ASSERT_TRUE(workstation.StartUp());
  EXPECT_EQ(workstation.FormKeyPress(u'3'), QChar()) << "the key goes no further";
  EXPECT_EQ(workstation.fields().CBFPIndex, 15);
  EXPECT_EQ(workstation.fields().ModelIndex, 15);
  EXPECT_EQ(workstation.fields().LEFPPort.text, "COM4/Ser");
  EXPECT_EQ(workstation.fields().LEIBFM.text, "MW100742");
  EXPECT_EQ(ui.count(Kind::Information), 0) << "one model fits: nothing to ask";
  EXPECT_EQ(http.posts.size(), 1u) << "the test uploads as after key 1";
}

TEST_F(FindPrinterTest, SeveralFittingModelsAreNamedAfterTheTest) {
  SpeedPrinter printer{&bank, 19200, kMkd};
  printer.attachTo(bank.add("COM4"));
  ASSERT_TRUE(workstation.StartUp());
  workstation.PanelClick(3);
  EXPECT_EQ(workstation.fields().ModelIndex, 12);
  ASSERT_EQ(ui.count(Kind::Information), 1);
  EXPECT_EQ(ui.callsOf(Kind::Information)[0].text, OtherCandidatesText({13}));
  EXPECT_TRUE(ui.callsOf(Kind::Information)[0].text.contains("MKD (AC) PF-700   19200"));
  EXPECT_EQ(ui.calls.back().kind, Kind::Information) << "after the test";
}

TEST_F(FindPrinterTest, NoPrinterAtAnySpeedSaysSoInBothLanguagesAndTestsNothing) {
  bank.add("COM4");
  ASSERT_TRUE(workstation.StartUp());
  workstation.FormKeyPress(u'3');
  ASSERT_EQ(ui.count(Kind::Information), 1);
  const QString text = ui.callsOf(Kind::Information)[0].text;
  EXPECT_EQ(text, NoPrinterAnywhereText());
  EXPECT_TRUE(text.contains("\n\n----------\n\n"));
  EXPECT_TRUE(text.contains("No printer answered on any port at any speed"));
  EXPECT_TRUE(http.posts.empty());
  EXPECT_TRUE(bank.opened.isEmpty()) << "no port gave a byte: no probe";
  EXPECT_EQ(bank.openedOnTheirOwn.size(), 20);
}

}  // namespace
}  // namespace pralix
