// The main window's logic against scripted printers on scripted ports: the
// connectivity test step by step, the key dispatcher and the report actions.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "fake_http_client.h"
#include "fake_platform.h"
#include "port_bank.h"
#include "recording_mutex.h"
#include "recording_ui.h"
#include "link/P00_fpsend.h"
#include "messages/P20_Param79.h"
#include "workstation/workstation.h"

namespace pralix {
namespace {

using test::PortBank;
using test::PrinterReply;
using test::RecordingUi;
using test::RequestCommand;
using test::RequestData;
using test::ScriptedPort;
using Kind = RecordingUi::Kind;

struct FixedClock final : Clock {
  QDateTime at{QDate(2026, 12, 8), QTime(10, 0, 0)};
  QDateTime now() const override { return at; }
};

// A printer answering each (command, data) with a stored reply; anything not
// stored gets an empty reply.  Status bits apply to every reply.
struct FakePrinter {
  std::map<std::pair<int, QByteArray>, QByteArray> replies;
  quint8 status[6] = {0, 0, 0, 0, 0, 0};
  std::map<int, quint8> statusOf;  // command -> byte 0 bits for that command only
  QByteArray& operator()(int command, const QByteArray& data = {}) { return replies[{command, data}]; }
  void attachTo(ScriptedPort& port) {
    port.setResponder(test::PrinterResponder([this](int command, QByteArray data) {
      PrinterReply reply{replies[{command, data}]};
      for (int i = 0; i < 6; ++i) reply.status[i] = status[i];
      if (statusOf.count(command)) reply.status[0] |= statusOf[command];
      return reply;
    }));
  }
};

// Windows-1251 bytes of the Cyrillic letters the serials start with.
const QByteArray kCyrillicAG = "\xC0\xC3";

class WorkstationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SequenceNumber = 0x1F;
    clock.at = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0));
    deviceMap.entries = {{"\\Device\\Serial0", "COM1"}, {"\\Device\\VCP0", "COM3"}};
    version.integers = {{"CurrentMajorVersionNumber", 10}, {"CurrentMinorVersionNumber", 0}};
    healthySerbianPrinter();
  }

  // A plausible model 0 printer: everything within the judged ranges.
  void healthySerbianPrinter() {
    printer(62) = "08-12-26 10:00:20";
    printer(90, "1") = "1.22SR 09NOV03 1230,BB78,0,1," + kCyrillicAG + "123456";
    printer(99) = "123456789";
    printer(68) = "0987";
    printer(107, "I") = "I,5000,150";
    printer(83) = "0,010110000";
    for (char k = '0'; k <= '5'; ++k) printer(43, QByteArray("I") + k) = QByteArray("Line ") + k;
    printer(43, "I1") = "PR\xDE" "KA";  // Ю stands for Š in the printers' header texts
  }

  // Starts the window with its ports; the printer sits on `printerPort`.
  void start(const QString& printerPort = "COM3") {
    for (const SerialDevice& device : deviceMap.entries) ports.add(device.portName);
    printer.attachTo(ports.add(printerPort));
    ASSERT_TRUE(workstation.StartUp());
  }

  void runTest(int model = 0) {
    workstation.fields().CBFPIndex = model;
    EXPECT_EQ(workstation.FormKeyPress(u'1'), QChar());
  }

  std::vector<int> commandsOn(const QString& port) {
    std::vector<int> commands;
    for (const QByteArray& frame : ports.find(port)->writes()) commands.push_back(RequestCommand(frame));
    return commands;
  }

  MainFields& fields() { return workstation.fields(); }
  QString logPath() const { return dir.filePath("Pralix_log.txt"); }

  QTemporaryDir dir;
  PortBank ports;
  FakePrinter printer;
  FixedClock clock;
  test::FakeSerialDeviceMap deviceMap;
  test::FakeProcessControl processes;
  test::FakeDriveC driveC{dir.filePath("c")};
  test::FakeWindowsVersionSource version;
  test::FakeHttpClient http;
  RecordingUi ui;
  test::RecordingMutex mutex;
  YellowMsg yellow{ui, mutex};
  TFormFP formFP{ui, yellow};
  Workstation workstation{WorkstationDeps{ports, formFP, ui, clock, deviceMap, processes, driveC, version, http,
                                          QUrl("http://diag.test/dijagnostika"), dir.path()}};
};

TEST_F(WorkstationTest, HealthyPrinterFillsEveryFieldInOrder) {
  start();
  runTest(0);
  const MainFields& f = fields();
  EXPECT_EQ(f.LEFPPort.text, "COM3/VCP");
  EXPECT_EQ(f.LEIBFM.text, QString::fromUtf8("АГ123456"));
  EXPECT_EQ(f.LEPIB.text, "123456789");
  EXPECT_EQ(f.LEDTFP.text, "2026-12-08 10:00");
  EXPECT_EQ(f.LEDTDiff.text, "00:00");
  EXPECT_EQ(f.LEFirmware.text, "1.22SR 09NOV03 1230,BB78");
  EXPECT_EQ(f.LECurrJXVer.text, "10.0/0.0");
  EXPECT_EQ(f.LEBPDI.text, "0987");
  EXPECT_EQ(f.LEPluNumber.text, "150");
  EXPECT_EQ(f.LETax.text, "010110000");
  EXPECT_EQ(f.LEDisplayOK.text, "OK");
  EXPECT_EQ(f.MemoHeader, (QStringList{"Line 0", QString::fromUtf8("PRŠKA"), "Line 2", "Line 3", "Line 4", "Line 5"}));
  for (const LabelledEditInfo& edit : kLabelledEdits) EXPECT_FALSE((f.*edit.field).red) << edit.name;
  EXPECT_TRUE(f.ActionPanelsVisible);
  EXPECT_EQ(f.ModelIndex, 0);
  EXPECT_EQ(ports.baudRate(), 19200);
  EXPECT_FALSE(ports.isOpen()) << "the port is closed at the end";
  // COM1 was tried first; on COM3 the search's 62, then fifteen commands.
  EXPECT_EQ(ports.opened, (QStringList{"COM1", "COM3"}));
  EXPECT_EQ(commandsOn("COM3"), (std::vector<int>{62, 90, 99, 62, 62, 90, 68, 107, 83, 62, 43, 43, 43, 43, 43, 43}));
  EXPECT_TRUE(ui.importantTexts().isEmpty());
  EXPECT_EQ(ui.count(Kind::Repaint), 2) << "once cleared, once with the panels";
}

TEST_F(WorkstationTest, AFirstPortThatCannotOpenIsSkippedSilently) {
  deviceMap.entries.prepend({"\\Device\\USBSER000", "COM0"});  // listed, adapter gone
  for (const SerialDevice& device : deviceMap.entries)
    if (device.portName != "COM0") ports.add(device.portName);
  printer.attachTo(ports.add("COM1"));
  ASSERT_TRUE(workstation.StartUp());
  runTest(0);
  EXPECT_EQ(fields().LEFPPort.text, "COM1/Ser");
  EXPECT_TRUE(ui.calls.size() == 2u) << "only the two repaints";
}

TEST_F(WorkstationTest, NoPrinterAnywhereShowsTheModelAndTouchesNothing) {
  start("COM9");  // the printer is on a port the PC does not list
  fields().DiagDataSent = true;  // from an earlier test
  runTest(2);
  ASSERT_EQ(ui.count(Kind::Information), 1);
  EXPECT_EQ(ui.callsOf(Kind::Information)[0].text,
            "Odabrani SRB (SG) FP-600   57600\n\nnije pravilno povezan sa PC!\n\n----------\n\n"
            "Selected SRB (SG) FP-600   57600\n\nis not properly connected with PC!");
  EXPECT_TRUE(fields().DiagDataSent) << "no upload was made";
  EXPECT_TRUE(http.posts.empty());
  EXPECT_FALSE(QFile::exists(logPath()));
  EXPECT_FALSE(fields().ActionPanelsVisible);
  EXPECT_TRUE(fields().LEFPPort.text.isEmpty());
  EXPECT_TRUE(ports.isOpen()) << "the last port that opened stays open";
  EXPECT_EQ(ports.baudRate(), 57600);
}

TEST_F(WorkstationTest, PrinterReportingAnErrorIsStillFound) {
  for (int bit : {0, 5}) {  // paper out (byte 2 bit 0) answers 62 with 99; general error with 100
    SCOPED_TRACE(bit);
    PortBank bank;
    bank.add("COM1");
    FakePrinter sick = printer;
    if (bit == 0) sick.status[2] = 0x01;
    else sick.status[0] = 0x20;
    sick.attachTo(bank.add("COM3"));
    RecordingUi sickUi;
    // The readers then fail: stop the paper loop by answering OK on the second show.
    YellowMsg sickYellow{sickUi, mutex};
    TFormFP sickFP{sickUi, sickYellow};
    sickUi.onImportantMessage = [&](const QString&, const QString&) { sick.status[2] = 0; };
    Workstation w{WorkstationDeps{bank, sickFP, sickUi, clock, deviceMap, processes, driveC, version, http,
                                  QUrl("http://diag.test/dijagnostika"), dir.path()}};
    ASSERT_TRUE(w.StartUp());
    w.FormKeyPress(u'1');
    EXPECT_EQ(w.fields().LEFPPort.text, "COM3/VCP");
  }
}

struct ClockCase {
  const char* name;
  qint64 offsetSeconds;  // printer minus PC
  const char* diff;
  bool red;
};

TEST_F(WorkstationTest, ClockDifference) {
  const ClockCase cases[] = {
      {"40 minutes behind", -40 * 60, "00:40", true},
      {"40 minutes ahead", 40 * 60, "00:40", true},
      {"30 minutes behind", -30 * 60, "00:30", false},
      {"31 minutes ahead", 31 * 60, "00:31", true},
      {"23 hours 59 behind", -(23 * 3600 + 59 * 60), "23:59", true},
      {"3.5 days behind", -(3 * 86400 + 12 * 3600), "Dana: -3", true},
      {"2 days ahead", 2 * 86400, "Dana: 2", true},
  };
  start();
  for (const ClockCase& c : cases) {
    SCOPED_TRACE(c.name);
    printer(62) = clock.at.addSecs(c.offsetSeconds).toString("dd-MM-yy hh:mm:ss").toLatin1();
    runTest(0);
    EXPECT_EQ(fields().LEDTDiff.text, c.diff);
    EXPECT_EQ(fields().LEDTDiff.red, c.red);
    EXPECT_EQ(fields().LEDTFP.text, clock.at.addSecs(c.offsetSeconds).toString("yyyy-MM-dd hh:mm"));
  }
}

TEST_F(WorkstationTest, ClockNotSetShowsTheMessageThenTheErrorText) {
  start();
  printer.statusOf[62] = 0x04;  // byte 0 bit 2 on every 62
  runTest(0);
  EXPECT_EQ(fields().LEDTFP.text, "Error, time not set");
  EXPECT_TRUE(fields().LEDTFP.red);
  EXPECT_EQ(fields().LEDTDiff.text, "00:00") << "the difference stays as computed";
  EXPECT_EQ(ui.importantTexts(), QStringList{"FP Date and Time has not been set!\n\nCall fiscal service!"});
}

TEST_F(WorkstationTest, DisplayMissingShowsErrorWithoutADialog) {
  start();
  printer.statusOf[62] = 0x28;  // general error with the display bit: code 97 on every 62
  runTest(0);
  EXPECT_EQ(fields().LEDisplayOK.text, "Error");
  EXPECT_TRUE(fields().LEDisplayOK.red);
  // The date reader's 62 fails too and shows its failure; the display check shows nothing.
  for (const QString& text : ui.importantTexts()) EXPECT_TRUE(text.startsWith("Komanda 62\n")) << text.toStdString();
}

TEST_F(WorkstationTest, AReaderFailingMidTestShowsItsTextAndTheTestGoesOn) {
  start();
  printer.statusOf[83] = 0x20;  // general error on command 83 only
  runTest(0);
  EXPECT_EQ(fields().LETax.text, "000000000");
  EXPECT_TRUE(fields().LETax.red);
  ASSERT_EQ(ui.importantTexts().size(), 1);
  EXPECT_EQ(ui.importantTexts()[0], "Komanda 83\nGreska 100!\n\nStatus: 200000000000");
  EXPECT_EQ(ui.importantCaptions()[0], "MSG - 9999");
  EXPECT_EQ(fields().LEDisplayOK.text, "OK") << "later steps still ran";
  EXPECT_EQ(fields().MemoHeader.size(), 6);
  EXPECT_EQ(http.posts.size(), 1u);
}

struct SerialCase {
  const char* name;
  int model;
  QByteArray reply90;
  QString serial;
  bool red;
};

TEST_F(WorkstationTest, SerialPerModel) {
  const SerialCase cases[] = {
      {"Cyrillic AG kept", 0, "f0,f1,f2,f3," + kCyrillicAG + "123456", QString::fromUtf8("АГ123456"), false},
      {"Latin AG marked", 0, "f0,f1,f2,f3,AG123456", "AG12345E", true},
      {"empty serial marked", 0, "f0,f1,f2,f3,", "E", true},
      {"Cyrillic LK on model 6", 6, "f0,f1,f2,f3,\xCB\xCA" "000111", QString::fromUtf8("ЛК000111"), false},
      {"VG-550 gets VG0", 8, "f0,f1,f2,f3,VGX12345678", "VG012345", false},
      {"VG-1000 field 3", 10, "f0,f1,f2,VG1000777,x", "VG1000777", false},
      {"MKD from field 5", 12, "f0,f1,f2,f3,f4,XXXXX654321ZZ", "AC654321", false},
      {"MLW characters 3 to 10", 15, "f0,f1,f2,f3,MW12345678X", "12345678", false},
      {"BUG reader unchanged", 14, "f0,f1,f2,f3,DT55443322", "DT55443322", false},
  };
  start();
  for (const SerialCase& c : cases) {
    SCOPED_TRACE(c.name);
    printer(90, "1") = c.reply90;
    runTest(c.model);
    EXPECT_EQ(fields().LEIBFM.text, c.serial);
    EXPECT_EQ(fields().LEIBFM.red, c.red);
  }
}

TEST_F(WorkstationTest, PibFirmwareArticlesAndTaxPerModel) {
  start();
  printer(90, "1") = "A,B,C,D,E,F";
  printer(99) = "123456789012345";
  printer(107, "I") = "I,77,88";
  printer(83) = "t0,t1,t2,t3";
  struct Case {
    int model;
    const char* pib;
    const char* firmware;
    const char* plu;
    const char* tax;
  };
  const Case cases[] = {
      {0, "123456789", "A,B", "88", "t1"},     {8, "012345678", "A,B", "88", "t2"},
      {9, "012345678", "B,C", "77", "t2"},     {10, "012345678", "A,B", "77", "t2"},
      {12, "567890123", "B,C", "88", "t3"},    {14, "123456789", "B,C", "88", "t1"},
      {15, "012345678", "B,C", "77", "t2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    runTest(c.model);
    EXPECT_EQ(fields().LEPIB.text, c.pib);
    EXPECT_EQ(fields().LEFirmware.text, c.firmware);
    EXPECT_EQ(fields().LEPluNumber.text, c.plu);
    EXPECT_EQ(fields().LETax.text, c.tax);
  }
}

TEST_F(WorkstationTest, ArticlesFromAnEmptyFieldAreZeroAndFromAFailedReaderMinusOne) {
  start();
  printer(107, "I") = "I";
  runTest(9);
  EXPECT_EQ(fields().LEPluNumber.text, "0");
  printer.statusOf[107] = 0x20;
  runTest(0);
  EXPECT_EQ(fields().LEPluNumber.text, "-1");
  EXPECT_FALSE(fields().LEPluNumber.red);
}

TEST_F(WorkstationTest, SuccessfulTestPointsTheFiscalLinkAtThePortLogsAndUploads) {
  QDir().mkpath(driveC.map("C:\\Belmora\\Appl"));
  QFile ini(driveC.map("C:\\Belmora\\Appl\\Link.ini"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("Port=COM1,9600\r\nName=Shop\r\n");
  ini.close();
  start();
  runTest(0);
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  EXPECT_EQ(ini.readAll(), "Port=COM3\r\nName=Shop\r\n");
  QFile log(logPath());
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_EQ(log.readAll(),
            "AG123456, 123456789, 1.22SR, PDI=0987, PLU=0150, 010110000, 00:00, COM3/VCP, 2026-12-08\r\n");
  ASSERT_EQ(http.posts.size(), 1u);
  EXPECT_EQ(http.posts[0].url, QUrl("http://diag.test/dijagnostika"));
  EXPECT_TRUE(http.posts[0].body.startsWith("ibfm=AG123456&pib=123456789&fw=1.22SR+09NOV03+1230%2CBB78&"));
  EXPECT_TRUE(fields().DiagDataSent);
}

TEST_F(WorkstationTest, LogThatCannotBeWrittenEndsTheTestBeforeTheUpload) {
  start();
  ASSERT_TRUE(QDir().mkpath(logPath()));  // a folder where the log should be
  runTest(0);
  EXPECT_EQ(ui.count(Kind::Error), 1);
  EXPECT_TRUE(http.posts.empty());
  EXPECT_TRUE(ports.isOpen()) << "the port stays open until the next test";
}

TEST_F(WorkstationTest, FailedUploadLeavesTheFlagClearAndActionTwoSaysSo) {
  start();
  http.status = 500;
  runTest(0);
  EXPECT_FALSE(fields().DiagDataSent);
  workstation.FormKeyPress(u'2');
  EXPECT_EQ(ui.callsOf(Kind::Information).back().text, "Nema internet konekcije!\n\n----------\n\nNo internet connection!");
}

TEST_F(WorkstationTest, StartUpWithoutPortsShowsTheMessageAndQuits) {
  deviceMap.entries.clear();
  EXPECT_FALSE(workstation.StartUp());
  EXPECT_EQ(processes.stopCalls, 1);
  ASSERT_EQ(ui.count(Kind::Information), 1);
  EXPECT_EQ(ui.callsOf(Kind::Information)[0].text,
            QString::fromUtf8("Ne postoji ComPort na računaru!\n\n----------\n\nThere is no ComPort installed on this computer!"));
  EXPECT_EQ(ui.quitRequests, 1);
}

TEST_F(WorkstationTest, StartUpListsSortedPortsHidesPanelsAndClearsTheOutbox) {
  deviceMap.entries = {{"\\Device\\Serial1", "COM2"}, {"\\Device\\Serial9", "COM10"}, {"\\Device\\Serial0", "COM1"}};
  const QString outbox = driveC.map("C:\\Belmora\\Exch\\Lnk\\To_FP");
  QDir().mkpath(outbox);
  QFile(outbox + "/a.jxx").open(QIODevice::WriteOnly);
  fields().ActionPanelsVisible = true;
  ASSERT_TRUE(workstation.StartUp());
  EXPECT_EQ(fields().MemoPorts, (QStringList{"COM1", "COM10", "COM2"}));
  EXPECT_FALSE(fields().ActionPanelsVisible);
  EXPECT_FALSE(QFile::exists(outbox + "/a.jxx"));
  EXPECT_EQ(fields().CBFPIndex, 0);
}

TEST_F(WorkstationTest, KeysThatAreNotActionsPassThroughUntouched) {
  start();
  for (QChar key : {QChar(u'8'), QChar(u'9'), QChar(u'a'), QChar(u' '), QChar(13)})
    EXPECT_EQ(workstation.FormKeyPress(key), key);
  EXPECT_TRUE(ports.opened.isEmpty());
  EXPECT_TRUE(ui.calls.empty());
  for (QChar key : {QChar(27), QChar(u'0')}) EXPECT_EQ(workstation.FormKeyPress(key), key) << "Esc and 0 close";
}

struct ReportCase {
  int model;
  const char* x;
  const char* z;
};

TEST_F(WorkstationTest, ReportDataFollowsTheTestedModel) {
  const ReportCase cases[] = {{0, "2", "0A"},  {7, "2", "0A"},  {8, "2", "0a"}, {9, "2", "0"},  {11, "2", "0"},
                              {12, "3", "1"},  {13, "3", "1"},  {14, "2", "0"}, {15, "2", "0"}};
  start();
  ScriptedPort& com3 = *ports.find("COM3");
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.model);
    runTest(c.model);
    fields().CBFPIndex = (c.model + 5) % 16;  // another model chosen afterwards
    workstation.PanelClick(5);
    workstation.PanelClick(6);
    const auto& w = com3.writes();
    ASSERT_GE(w.size(), 2u);
    EXPECT_EQ(RequestCommand(w[w.size() - 2]), 69);
    EXPECT_EQ(RequestData(w[w.size() - 2]), c.x);
    EXPECT_EQ(RequestData(w.back()), c.z);
  }
}

TEST_F(WorkstationTest, ReportsBeforeAnyTestGoToCom1At19200) {
  start("COM1");
  EXPECT_EQ(workstation.FormKeyPress(u'5'), QChar());
  EXPECT_EQ(workstation.FormKeyPress(u'6'), QChar());
  EXPECT_EQ(ports.opened, QStringList{"COM1"});
  EXPECT_EQ(ports.baudRate(), 19200);
  const auto& w = ports.find("COM1")->writes();
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(RequestData(w[0]), "2");
  EXPECT_EQ(RequestData(w[1]), "0A");
  EXPECT_TRUE(ports.isOpen()) << "the report actions leave the port open";
  EXPECT_TRUE(ui.calls.empty()) << "reports show nothing";
}

TEST_F(WorkstationTest, PeriodicReport) {
  start("COM1");
  ui.periodAnswers = {{false, {}, {}}, {true, QDate(2021, 1, 5), QDate(2021, 2, 7)}};
  workstation.FormKeyPress(u'7');
  EXPECT_TRUE(ports.opened.isEmpty()) << "a cancelled period sends nothing";
  workstation.FormKeyPress(u'7');
  const auto& w = ports.find("COM1")->writes();
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(RequestCommand(w[0]), 79);
  EXPECT_EQ(RequestData(w[0]), "050121,070221");
}

TEST_F(WorkstationTest, PeriodicReportSendsNothingForARefusedPeriod) {
  // A user interface that lets a refused period through: 1999 and 2099
  // would both go out as "99".
  const RecordingUi::PeriodAnswer refused[] = {{true, QDate(1999, 12, 31), QDate(2000, 1, 1)},
                                               {true, QDate(2099, 12, 31), QDate(2100, 1, 1)},
                                               {true, QDate(2021, 2, 8), QDate(2021, 2, 7)},
                                               {true, QDate(2023, 2, 29), QDate(2023, 3, 1)}};
  start("COM1");
  for (const auto& answer : refused) ui.periodAnswers.push_back(answer);
  for (size_t i = 0; i < std::size(refused); ++i) workstation.FormKeyPress(u'7');
  EXPECT_TRUE(ports.opened.isEmpty()) << "nothing reaches the printer";
  const auto shown = ui.callsOf(Kind::Information);
  ASSERT_EQ(shown.size(), std::size(refused));
  EXPECT_EQ(shown[0].text, QString::fromLatin1(kPeriodOutOfRangeMessage));
  EXPECT_EQ(shown[1].text, QString::fromLatin1(kPeriodOutOfRangeMessage));
  EXPECT_EQ(shown[2].text, QString::fromLatin1(kInvertedPeriodMessage));
  EXPECT_EQ(shown[3].text, QString::fromLatin1(kPeriodNotADateMessage));
}

TEST_F(WorkstationTest, ReportOnAPortThatCannotOpenGoesToTheErrorBox) {
  start("COM7");
  ports.setPortName("COM7X");
  workstation.FormKeyPress(u'5');
  EXPECT_EQ(ui.count(Kind::Error), 1);
}

TEST_F(WorkstationTest, DiagnosticPrintoutFailureReachesTheErrorBoxWithItsTitle) {
  start("COM1");
  printer.statusOf[71] = 0x20;
  workstation.FormKeyPress(u'4');
  ASSERT_EQ(ui.count(Kind::Error), 1);
  EXPECT_EQ(ui.callsOf(Kind::Error)[0].text, "Komanda 71 - Diagnostika stampaca\nGreska 100!\n\nStatus: 200000000000");
}

TEST_F(WorkstationTest, WebLabelOpensTheMakersAddress) {
  workstation.LabelWebClick();
  ASSERT_EQ(processes.openedUrls.size(), 1);
  EXPECT_TRUE(processes.openedUrls[0].startsWith("http"));
}

}  // namespace
}  // namespace pralix
