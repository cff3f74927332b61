// "pralix test" end to end: the real tool against the printer simulator over a
// real pty, with a temporary drive C, a working directory for the logs and a
// local stand-in for the support service.

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include "recording_http_server.h"
#include "sim_process.h"

namespace pralix {
namespace {

using test::SimProcess;

struct ToolRun {
  int exitCode = -1;
  QJsonObject json;
  QString errors;  // standard error: the dialogs as the user would have seen them
};

class ConnectivityE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QDir().mkpath(driveC("Belmora/Appl"));
    QDir().mkpath(driveC("Belmora/Exch/Lnk/To_FP"));
    writeFile(driveC("Belmora/Appl/Link.ini"), "[Printer]\r\nPort=COM1,19200\r\nName=Shop\r\n");
    writeFile(driveC("Belmora/Appl/Version.ini"), "[Ostrik]\r\nLink=10.2.5\r\n");
    writeFile(driveC("Belmora/Exch/Lnk/To_FP/0001.jxx"), "waiting receipt");
  }

  QString driveC(const QString& path) const { return dir.filePath("c/" + path); }
  static void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  static QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // Runs "pralix test --json" with the extra ports offered to the tool.
  ToolRun runTest(const QStringList& args, const QStringList& extraPorts = {}) {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PRALIX_DRIVE_C", dir.filePath("c"));
    env.insert("PRALIX_DIAG_URL", server.url().toString());
    env.insert("PRALIX_OUTBOX", dir.filePath("outbox"));  // not the user's own
    env.insert("PRALIX_EXTRA_PORTS", extraPorts.join(':'));
    env.insert("XDG_RUNTIME_DIR", dir.path());
    tool.setProcessEnvironment(env);
    tool.setWorkingDirectory(dir.path());
    tool.start(PRALIX_BIN, QStringList{"test", "--json", "--paper-wait", "0"} + args);
    tool.closeWriteChannel();
    ToolRun run;
    if (!tool.waitForFinished(120000)) {
      tool.kill();
      return run;
    }
    run.exitCode = tool.exitCode();
    run.json = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
    run.errors = QString::fromUtf8(tool.readAllStandardError());
    return run;
  }

  static QString text(const ToolRun& run, const char* field) {
    return run.json["fields"].toObject()[field].toObject()["text"].toString();
  }
  static bool red(const ToolRun& run, const char* field) {
    return run.json["fields"].toObject()[field].toObject()["red"].toBool();
  }
  static QStringList header(const ToolRun& run) {
    QStringList lines;
    for (const QJsonValue& v : run.json["header"].toArray()) lines << v.toString();
    return lines;
  }
  static QStringList dialogTexts(const ToolRun& run) {
    QStringList texts;
    for (const QJsonValue& v : run.json["dialogs"].toArray()) texts << v.toObject()["text"].toString();
    return texts;
  }

  QTemporaryDir dir;
  test::RecordingHttpServer server{200};
};

struct ModelExpectation {
  int model;
  const char* serial;
  const char* pib;
  const char* firmware;
  const char* freeZ;
  const char* plu;
  const char* tax;
  const char* ibfm;  // as the log and the record carry it
  const char* header[6];
};

// What the window shows for each model's default simulated printer.
const ModelExpectation kModels[] = {
    {0, "АГ100482", "100234567", "1.22SR 09NOV03 1230,BB78", "1746", "1250", "010110000", "AG100482",
     {"ŽITOPROMET DOO", "Bulevar oslobođenja 12", "21000 Novi Sad", "PIB 100234567", "Hvala na poseti", ""}},
    {1, "СЈ204117", "101345678", "1.50SR 26JUL04 1000,BA46", "1520", "312", "010110000", "SJ204117",
     {"PEKARA ČARAPIĆ", "Školska 5", "11000 Beograd", "PIB 101345678", "Dobrodošli", "www.pekara-carapic.rs"}},
    {2, "СГ311560", "102456789", "2.00SR 21MAY08 1330,AC2A", "1810", "2875", "010110000", "SG311560",
     {"MARKET ĐURĐEVIĆ", "Karađorđeva 44", "34000 Kragujevac", "PIB 102456789", "Radno vreme 07-22", "Hvala!"}},
    {3, "АЈ402931", "103567890", "3.52SR 20FEB13 1000,8A33", "1200", "640", "010110000", "AJ402931",
     {"APOTEKA ŽIVKOVIĆ", "Trg slobode 3", "12000 Požarevac", "PIB 103567890", "", "Želimo vam zdravlje"}},
    {4, "АИ510077", "104678901", "1.00SR 25JUN12 1500,1538", "980", "85", "100000000", "AI510077",
     {"KAFANA ČIKA", "Vračarska 9", "11000 Beograd", "PIB 104678901", "Bez računa nema garancije", ""}},
    {5, "АК623418", "105789012", "1.10SR 19DEC14 1000,F8EA", "1633", "150", "010110000", "AK623418",
     {"TRAFIKA ŠANSA", "Ulica Đure Jakšića 7", "18000 Niš", "PIB 105789012", "Kuća zadovoljnih kupaca", ""}},
    {6, "ЛК730265", "106890123", "3.00SR 02JUN11 2100,820F", "1400", "2000", "010110000", "LK730265",
     {"BUTIK ČAROBNICA", "Ćirila i Metodija 15", "24000 Subotica", "PIB 106890123", "Reklamacije uz račun", ""}},
    {7, "ЗИ845903", "107901234", "1.00SR 11APR12 1724,0000", "1555", "999", "010110000", "ZI845903",
     {"MESARA ŽIVANOVIĆ", "Železnička 21", "26000 Pančevo", "PIB 107901234", "Sveže svaki dan", "Dobro došli"}},
    {8, "VG050123", "002718461", "2.10CG 10APR05 1030,35C2", "1700", "420", "111000000", "VG050123",
     {"KONOBA JADRAN", "Obala bb", "85330 Kotor", "PIB 02718461", "Hvala, doviđenja", ""}},
    {9, "VG700418", "002846132", "3.01CG 11JUN09 1530,91F7", "1825", "1500", "111100000", "VG700418",
     {"MARKET LOVČEN", "Njegoševa 18", "81250 Cetinje", "PIB 02846132", "", "Dobrodošli"}},
    {10, "VG001573", "003012744", "1.00CG 12MAY15 1230,674C", "1790", "2750", "111100000", "VG001573",
     {"HOTEL MOGREN", "Slovenska obala 4", "85310 Budva", "PIB 03012744", "Recepcija 0-24", ""}},
    {11, "RM200318", "002599870", "1.00CG 02NOV11 1530,2642", "1302", "96", "110000000", "RM200318",
     {"PEKARA ŽITO", "Bokeška 2", "81000 Podgorica", "PIB 02599870", "Sveže svako jutro", ""}},
    {12, "AC200417", "006512345", "1.00MK 23JUL14 1230,21F5", "1650", "530", "1110", "AC200417",
     {"MARKET VARDAR", "Bul. Partizanski 10", "1000 Skopje", "EDB 4030006512345", "", "Blagodarime"}},
    {13, "AC300528", "009876543", "1.01MK 28OCT14 0930,0B68", "1711", "1100", "1110", "AC300528",
     {"APTEKA OHRID", "Kej Makedonija 3", "6000 Ohrid", "EDB 4057009876543", "Blagodarime", ""}},
    {14, "DT514227", "175123456", "1.00BG 11APR11 1530,0744", "1458", "77", "11110000", "DT514227",
     {"MAGAZIN SOFIA", "Vitosha 25", "1000 Sofia", "EIK 175123456", "Blagodarim", ""}},
    {15, "MW100742", "070012345", "1.10MW 30JAN14 1030,6FFB", "1800", "3000", "1100", "MW100742",
     {"LILONGWE TRADERS", "Kamuzu Procession Rd", "Lilongwe", "TPIN 70012345", "Thank you", ""}},
};

// A form value as Qt's own percent-encoding makes it: UTF-8, upper-case hex,
// "*" kept, "~" encoded, a space as "+".
QByteArray FormValue(const QString& text) {
  return QUrl::toPercentEncoding(text, "*", "~").replace("%20", "+");
}

TEST_F(ConnectivityE2E, EveryModelEndToEnd) {
  const QRegularExpression kernelVersion("^\\d+\\.\\d+/10\\.2\\.5$");
  for (const ModelExpectation& m : kModels) {
    SCOPED_TRACE(m.model);
    SetUp();  // fresh Link.ini and outbox for each model
    QFile::remove(dir.filePath("Pralix_log.txt"));
    SimProcess sim({"--model", QString::number(m.model)});
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    const std::size_t postsBefore = server.requests().size();
    const ToolRun run = runTest({"--model", QString::number(m.model)}, {sim.slavePath()});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    const QString port = sim.slavePath() + "/Pty";
    EXPECT_TRUE(run.json["found"].toBool());
    EXPECT_EQ(run.json["model_index"].toInt(), m.model);
    EXPECT_EQ(text(run, "LEFPPort"), port);
    EXPECT_EQ(text(run, "LEIBFM"), QString::fromUtf8(m.serial));
    EXPECT_EQ(text(run, "LEPIB"), m.pib);
    EXPECT_EQ(text(run, "LEFirmware"), m.firmware);
    EXPECT_EQ(text(run, "LEBPDI"), m.freeZ);
    EXPECT_EQ(text(run, "LEPluNumber"), m.plu);
    EXPECT_EQ(text(run, "LETax"), m.tax);
    EXPECT_EQ(text(run, "LEDisplayOK"), "OK");
    EXPECT_EQ(text(run, "LEDTDiff"), "00:00");
    EXPECT_TRUE(kernelVersion.match(text(run, "LECurrJXVer")).hasMatch()) << text(run, "LECurrJXVer").toStdString();
    const QDateTime shown = QDateTime::fromString(text(run, "LEDTFP"), "yyyy-MM-dd hh:mm");
    EXPECT_LE(qAbs(shown.secsTo(QDateTime::currentDateTime())), 120) << text(run, "LEDTFP").toStdString();
    for (const char* field : {"LEFPPort", "LEIBFM", "LEPIB", "LEDTFP", "LEDTDiff", "LEFirmware", "LECurrJXVer",
                              "LEBPDI", "LEPluNumber", "LETax", "LEDisplayOK"})
      EXPECT_FALSE(red(run, field)) << field;
    QStringList expectedHeader;
    for (const char* line : m.header) expectedHeader << QString::fromUtf8(line);
    EXPECT_EQ(header(run), expectedHeader);
    EXPECT_TRUE(dialogTexts(run).isEmpty()) << dialogTexts(run).join("|").toStdString();

    // The fiscal-link software now points at the port, and its outbox is empty.
    EXPECT_EQ(readFile(driveC("Belmora/Appl/Link.ini")),
              "[Printer]\r\nPort=" + sim.slavePath().toUtf8() + "\r\nName=Shop\r\n");
    EXPECT_FALSE(QFile::exists(driveC("Belmora/Exch/Lnk/To_FP/0001.jxx")));

    // One summary line, and the fiscal-link version file copied beside it.
    const QByteArray plu = QByteArray(m.plu).rightJustified(4, '0');
    const QByteArray freeZ = QByteArray(m.freeZ).rightJustified(4, '0');
    EXPECT_EQ(readFile(dir.filePath("Pralix_log.txt")),
              QByteArray(m.ibfm) + ", " + m.pib + ", " + QByteArray(m.firmware).left(6) + ", PDI=" + freeZ +
                  ", PLU=" + plu + ", " + m.tax + ", 00:00, " + port.toUtf8() + ", " +
                  QDate::currentDate().toString("yyyy-MM-dd").toLatin1() + "\r\n");
    EXPECT_EQ(readFile(dir.filePath("Pralix2_log.txt")), "[Ostrik]\r\nLink=10.2.5\r\n");

    // The record reached the support service.
    ASSERT_TRUE(server.waitForRequests(postsBefore + 1));
    const test::RecordedHttpRequest post = server.requests().back();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.path, "/dijagnostika");
    QByteArray h6l;
    for (const QString& line : expectedHeader) h6l += FormValue(line) + "%0D%0A";
    EXPECT_EQ(post.body, "ibfm=" + QByteArray(m.ibfm) + "&pib=" + m.pib + "&fw=" + FormValue(m.firmware) +
                             "&jx=" + FormValue(text(run, "LECurrJXVer")) + "&tg=" + m.tax + "&bpdi=" + m.freeZ +
                             "&plu=" + m.plu + "&cp=" + FormValue(port) + "&diff=00%3A00&h6l=" +
                             h6l + "DIAG%0A");
    EXPECT_TRUE(run.json["diag_data_sent"].toBool());
  }
}

TEST_F(ConnectivityE2E, PrinterOnTheSecondPortAfterASilentOneAndAMissingOne) {
  SimProcess silent({"--fault", "silent"});
  SimProcess printer({"--model", "0"});
  ASSERT_TRUE(silent.ok() && printer.ok());
  const ToolRun run = runTest({"--port", "/dev/pralix-no-such-port", "--port", silent.slavePath(), "--port",
                               printer.slavePath()});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_EQ(text(run, "LEFPPort"), printer.slavePath() + "/");  // named ports are not in the device map
  EXPECT_TRUE(dialogTexts(run).isEmpty());
  EXPECT_EQ(silent.receivedFrames().size(), 1) << "one command 62, given up after one read time-out";
}

TEST_F(ConnectivityE2E, NoPrinterAnywhere) {
  SimProcess silent({"--fault", "silent"});
  ASSERT_TRUE(silent.ok());
  const ToolRun run = runTest({"--model", "3", "--port", silent.slavePath()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(run.json["found"].toBool());
  EXPECT_EQ(dialogTexts(run), QStringList{"Odabrani SRB (AJ) GP-550   19200\n\nnije pravilno povezan sa PC!\n\n"
                                          "----------\n\nSelected SRB (AJ) GP-550   19200\n\nis not properly "
                                          "connected with PC!"});
  EXPECT_FALSE(QFile::exists(dir.filePath("Pralix_log.txt")));
  EXPECT_TRUE(server.requests().empty());
  EXPECT_FALSE(run.json["diag_data_sent"].toBool());
  EXPECT_EQ(readFile(driveC("Belmora/Appl/Link.ini")), "[Printer]\r\nPort=COM1,19200\r\nName=Shop\r\n");
}

TEST_F(ConnectivityE2E, PrinterThatAnswersWithPaperOutOrGeneralErrorIsFound) {
  {
    SimProcess printer({"--paper-out", "receipt:1"});
    ASSERT_TRUE(printer.ok());
    const ToolRun run = runTest({"--port", printer.slavePath()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(text(run, "LEIBFM"), QString::fromUtf8("АГ100482")) << "the paper was back for the readers";
  }
  {
    SimProcess printer({"--general-error"});
    ASSERT_TRUE(printer.ok());
    const ToolRun run = runTest({"--port", printer.slavePath()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.json["found"].toBool());
    const QStringList texts = dialogTexts(run);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts[0].startsWith("Komanda 90\nGreska 100!\n\nStatus: 20")) << texts[0].toStdString();
  }
}

struct ClockCase {
  const char* offset;
  const char* diff;
};

TEST_F(ConnectivityE2E, PrinterClockAgainstThePcClock) {
  // The printer sends whole seconds, so 40 minutes and a half keep the
  // shown minutes at 40 whatever the fraction of the PC's second.
  const ClockCase cases[] = {{"-2430", "00:40"}, {"2430", "00:40"}, {"-302400", "Dana: -3"}};
  for (const ClockCase& c : cases) {
    SCOPED_TRACE(c.offset);
    SimProcess printer({"--clock-offset", c.offset});
    ASSERT_TRUE(printer.ok());
    const ToolRun run = runTest({"--port", printer.slavePath()});
    EXPECT_EQ(text(run, "LEDTDiff"), c.diff);
    EXPECT_TRUE(red(run, "LEDTDiff"));
  }
}

TEST_F(ConnectivityE2E, ClockNotSetAndDisplayMissing) {
  {
    SimProcess printer({"--clock-not-set"});
    ASSERT_TRUE(printer.ok());
    const ToolRun run = runTest({"--port", printer.slavePath()});
    EXPECT_EQ(text(run, "LEDTFP"), "Error, time not set");
    EXPECT_TRUE(red(run, "LEDTFP"));
    EXPECT_EQ(dialogTexts(run), QStringList{"FP Date and Time has not been set!\n\nCall fiscal service!"});
  }
  {
    SimProcess printer({"--display-missing"});
    ASSERT_TRUE(printer.ok());
    const ToolRun run = runTest({"--port", printer.slavePath()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(text(run, "LEDisplayOK"), "Error");
    EXPECT_TRUE(red(run, "LEDisplayOK"));
  }
}

TEST_F(ConnectivityE2E, AReaderFailingMidTestShowsItsTextAndTheTestGoesOn) {
  SimProcess printer({"--fault", "short-length@83"});
  ASSERT_TRUE(printer.ok());
  const ToolRun run = runTest({"--port", printer.slavePath()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(text(run, "LETax"), "000000000");
  EXPECT_TRUE(red(run, "LETax"));
  const QStringList texts = dialogTexts(run);
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].startsWith("Komanda 83\nStampac je vratio duzinu ")) << texts[0].toStdString();
  EXPECT_EQ(text(run, "LEDisplayOK"), "OK");
  EXPECT_EQ(header(run).size(), 6);
  EXPECT_TRUE(run.json["diag_data_sent"].toBool());
}

TEST_F(ConnectivityE2E, LosingThePrinterMidTestAsksToQuit) {
  SimProcess printer({"--fault", "silent@99"});
  ASSERT_TRUE(printer.ok());
  const ToolRun run = runTest({"--port", printer.slavePath()});
  EXPECT_EQ(run.exitCode, 4);
  const QStringList texts = dialogTexts(run);
  ASSERT_FALSE(texts.isEmpty());
  EXPECT_EQ(texts[0], "Komanda 99\nStampac se ne javlja - proverite stampac i kabl!\n\nStatus: 000000000000");
}

TEST_F(ConnectivityE2E, TraceHoldsEveryFrameBothWays) {
  SimProcess printer({"--model", "0"});
  ASSERT_TRUE(printer.ok());
  const QString trace = dir.filePath("trace.txt");
  const ToolRun run = runTest({"--port", printer.slavePath(), "--trace", trace});
  ASSERT_EQ(run.exitCode, 0);
  const QStringList lines = QString::fromLatin1(readFile(trace)).split('\n', Qt::SkipEmptyParts);
  const QStringList tx = lines.filter(" TX ");
  const QStringList rx = lines.filter(" RX ");
  EXPECT_EQ(tx.size(), 16) << "command 62 to find the printer, then fifteen commands";
  EXPECT_EQ(rx.size(), 16);
  EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} TX 01 24 20 3E 05 30 30 38 37 03$")
                  .match(tx[0]).hasMatch()) << tx[0].toStdString();
  EXPECT_EQ(printer.receivedFrames().size(), 16);
  EXPECT_EQ(printer.receivedFrames()[0].toHex(' ').toUpper(), tx[0].section(" TX ", 1).toLatin1());
}

}  // namespace
}  // namespace pralix
