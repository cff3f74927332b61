// The summary log line and the log files a test leaves in the working
// directory.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/tested_fields.h"
#include "support/unprivileged_file_access.h"
#include "workstation/diagnostic_log.h"
#include "workstation/log_file_writes.h"

namespace pralix {
namespace {

class FixedClock final : public Clock {
 public:
  explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
  QDateTime now() const override { return at_; }

 private:
  QDateTime at_;
};

using test::TestedFields;

const QDate kDay(2019, 5, 17);
const QByteArray kTestedLine = "AG123456, 123456789, 1.22SR, PDI=0987, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17";

TEST(DiagnosticLogLine, NinePartsJoinedByCommaAndBlank) {
  EXPECT_EQ(DiagnosticLogLine(TestedFields(), kDay), kTestedLine);
}

struct LineCase {
  const char* name;
  void (*change)(MainFields&);
  QByteArray expected;
};

class DiagnosticLogLineCases : public testing::TestWithParam<LineCase> {};

TEST_P(DiagnosticLogLineCases, Line) {
  MainFields fields = TestedFields();
  GetParam().change(fields);
  EXPECT_EQ(DiagnosticLogLine(fields, kDay), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, DiagnosticLogLineCases,
    testing::Values(
        LineCase{"PdiSevenFilled", [](MainFields& f) { f.LEBPDI.text = "7"; },
                 "AG123456, 123456789, 1.22SR, PDI=0007, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"PdiFourDigitsKept", [](MainFields& f) { f.LEBPDI.text = "1234"; },
                 "AG123456, 123456789, 1.22SR, PDI=1234, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"PdiEmptyAllZeros", [](MainFields& f) { f.LEBPDI.text.clear(); },
                 "AG123456, 123456789, 1.22SR, PDI=0000, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"PluFiveFilled", [](MainFields& f) { f.LEPluNumber.text = "5"; },
                 "AG123456, 123456789, 1.22SR, PDI=0987, PLU=0005, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"PluMinusOneFilledAsText", [](MainFields& f) { f.LEPluNumber.text = "-1"; },
                 "AG123456, 123456789, 1.22SR, PDI=0987, PLU=00-1, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"PluLongerNotCut", [](MainFields& f) { f.LEPluNumber.text = "12345"; },
                 "AG123456, 123456789, 1.22SR, PDI=0987, PLU=12345, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"DayCountGivesDana", [](MainFields& f) { f.LEDTDiff.text = "Dana: -3"; },
                 "AG123456, 123456789, 1.22SR, PDI=0987, PLU=0150, 010110000, Dana:, COM3/Ser, 2019-05-17"},
        LineCase{"SerialMarkedE", [](MainFields& f) { f.LEIBFM.text = "AG12345E"; },
                 "AJ12345E, 123456789, 1.22SR, PDI=0987, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"EmptyFirmwareReadIsComma", [](MainFields& f) { f.LEFirmware.text = ","; },
                 "AG123456, 123456789, ,, PDI=0987, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"ShortFirmwareWhole", [](MainFields& f) { f.LEFirmware.text = "1.2"; },
                 "AG123456, 123456789, 1.2, PDI=0987, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"AllEmpty", [](MainFields& f) { f = MainFields{}; },
                 ", , , PDI=0000, PLU=0000, , , , 2019-05-17"},
        // Single-byte ANSI text: Windows-1250 here, so Š is 0x8A; letters it
        // lacks become "?".  An unmatched Cyrillic model code keeps the
        // printer's own bytes.
        LineCase{"AnsiCodePage", [](MainFields& f) { f.LEFPPort.text = QString::fromUtf8("COM3/Š"); },
                 "AG123456, 123456789, 1.22SR, PDI=0987, PLU=0150, 010110000, 00:02, COM3/\x8A, 2019-05-17"},
        LineCase{"CharacterMissingInCodePage", [](MainFields& f) { f.LEPIB.text = QString::fromUtf8("12Ж"); },
                 "AG123456, 12?, 1.22SR, PDI=0987, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17"},
        LineCase{"UnmatchedCyrillicCode", [](MainFields& f) { f.LEIBFM.text = QString::fromUtf8("ДТ123456"); },
                 "\xC4\xD2" "123456, 123456789, 1.22SR, PDI=0987, PLU=0150, 010110000, 00:02, COM3/Ser, 2019-05-17"}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(content);
}

class WriteDiagnosticLogsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    sources_.fiscalLinkVersionIni = path("src/Version.ini");
    sources_.kuvoVersionIni = path("src/Kuvo_Version.ini");
    QDir(dir_.path()).mkpath(QStringLiteral("src"));
    QDir(dir_.path()).mkpath(QStringLiteral("work"));
    // Every user may enter; the permission tests narrow this down.
    chmod(QFile::encodeName(dir_.path()).constData(), 0777);
    chmod(QFile::encodeName(work()).constData(), 0777);
  }
  void TearDown() override { chmod(QFile::encodeName(work()).constData(), 0777); }

  QString path(const QString& relative) const { return QDir(dir_.path()).filePath(relative); }
  QString work() const { return path(QStringLiteral("work")); }
  QString workFile(const char* name) const { return QDir(work()).filePath(QString::fromLatin1(name)); }

  void write(const QDate& day = kDay) const {
    WriteDiagnosticLogs(TestedFields(), FixedClock(QDateTime(day, QTime(10, 30))), work(), sources_);
  }

  QTemporaryDir dir_;
  DiagnosticLogSources sources_;
};

TEST_F(WriteDiagnosticLogsTest, FirstTestCreatesTheLogWithOneLineAndNoCopiesWithoutSources) {
  write();
  EXPECT_EQ(ReadFile(workFile(kSummaryLogName)), kTestedLine + "\r\n");
  EXPECT_FALSE(QFile::exists(workFile(kFiscalLinkVersionCopyName)));
  EXPECT_FALSE(QFile::exists(workFile(kKuvoVersionCopyName)));
}

TEST_F(WriteDiagnosticLogsTest, SecondTestAddsItsLineAfterTheOlderOne) {
  write(QDate(2019, 5, 17));
  write(QDate(2019, 5, 18));
  QByteArray second = kTestedLine;
  second.replace("2019-05-17", "2019-05-18");
  EXPECT_EQ(ReadFile(workFile(kSummaryLogName)), kTestedLine + "\r\n" + second + "\r\n");
}

TEST_F(WriteDiagnosticLogsTest, EarlierLinesStayByteForByte) {
  // Lines of other code pages, an LF-only line and a byte-order mark are
  // history as well: none of it is rewritten.
  const QByteArray history = "\xEF\xBB\xBFold line \x8A\r\nunix line\n";
  WriteFile(workFile(kSummaryLogName), history);
  write();
  EXPECT_EQ(ReadFile(workFile(kSummaryLogName)), history + kTestedLine + "\r\n");
}

TEST_F(WriteDiagnosticLogsTest, UnterminatedLastLineGetsItsLineEndBeforeTheNewLine) {
  WriteFile(workFile(kSummaryLogName), "old line");
  write();
  EXPECT_EQ(ReadFile(workFile(kSummaryLogName)), "old line\r\n" + kTestedLine + "\r\n");
}

TEST_F(WriteDiagnosticLogsTest, UnreadableExistingLogLosesNothing) {
  WriteFile(workFile(kSummaryLogName), "line one\r\nline two\r\n");
  chmod(QFile::encodeName(workFile(kSummaryLogName)).constData(), 0222);  // write-only
  {
    test::UnprivilegedFileAccess asNobody;
    ASSERT_FALSE(QFile(workFile(kSummaryLogName)).open(QIODevice::ReadOnly));
    write();
  }
  chmod(QFile::encodeName(workFile(kSummaryLogName)).constData(), 0644);
  EXPECT_EQ(ReadFile(workFile(kSummaryLogName)), "line one\r\nline two\r\n" + kTestedLine + "\r\n");
}

TEST_F(WriteDiagnosticLogsTest, WriteProtectedDirectoryAndLogRaiseAndKeepTheLog) {
  WriteFile(sources_.fiscalLinkVersionIni, "[Version]\r\nLink=3.2.1\r\n");
  WriteFile(workFile(kSummaryLogName), "line one\r\n");
  chmod(QFile::encodeName(workFile(kSummaryLogName)).constData(), 0444);
  chmod(QFile::encodeName(work()).constData(), 0555);
  {
    test::UnprivilegedFileAccess asNobody;
    try {
      write();
      ADD_FAILURE() << "no error raised";
    } catch (const DiagnosticLogError& error) {
      EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith(QStringLiteral("Cannot create file \"")))
          << error.what();
      EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QStringLiteral("Pralix_log.txt")));
    }
  }
  EXPECT_EQ(ReadFile(workFile(kSummaryLogName)), "line one\r\n");
  EXPECT_EQ(QDir(work()).entryList(QDir::Files | QDir::Hidden), QStringList{QString::fromLatin1(kSummaryLogName)});
}

TEST_F(WriteDiagnosticLogsTest, WriteProtectedDirectoryWithoutLogRaisesAndCreatesNothing) {
  chmod(QFile::encodeName(work()).constData(), 0555);
  {
    test::UnprivilegedFileAccess asNobody;
    EXPECT_THROW(write(), DiagnosticLogError);
  }
  EXPECT_TRUE(QDir(work()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(WriteDiagnosticLogsTest, WriteProtectedDirectoryStillTakesTheLineInAWritableLog) {
  WriteFile(workFile(kSummaryLogName), "line one\r\n");
  chmod(QFile::encodeName(workFile(kSummaryLogName)).constData(), 0666);
  chmod(QFile::encodeName(work()).constData(), 0555);
  {
    test::UnprivilegedFileAccess asNobody;
    EXPECT_NO_THROW(write());
  }
  EXPECT_EQ(ReadFile(workFile(kSummaryLogName)), "line one\r\n" + kTestedLine + "\r\n");
}

TEST_F(WriteDiagnosticLogsTest, FailedLogEndsTheStepBeforeTheCopies) {
  WriteFile(sources_.fiscalLinkVersionIni, "[Version]\r\n");
  WriteFile(sources_.kuvoVersionIni, "[Kuvo]\r\n");
  QDir(work()).mkdir(QString::fromLatin1(kSummaryLogName));  // a folder where the log should be
  EXPECT_THROW(write(), DiagnosticLogError);
  EXPECT_FALSE(QFile::exists(workFile(kFiscalLinkVersionCopyName)));
  EXPECT_FALSE(QFile::exists(workFile(kKuvoVersionCopyName)));
}

TEST_F(WriteDiagnosticLogsTest, VersionFilesAreCopiedOverEarlierCopies) {
  const QByteArray linkVersion = "[Version]\r\nLink=3.2.1\r\n";
  const QByteArray kuvoVersion = "[Kuvo]\r\nVersion=7.0\r\n\x8A";
  WriteFile(sources_.fiscalLinkVersionIni, linkVersion);
  WriteFile(sources_.kuvoVersionIni, kuvoVersion);
  WriteFile(workFile(kFiscalLinkVersionCopyName), "older copy, longer than the new one\r\n\r\n\r\n");
  write();
  EXPECT_EQ(ReadFile(workFile(kFiscalLinkVersionCopyName)), linkVersion);
  EXPECT_EQ(ReadFile(workFile(kKuvoVersionCopyName)), kuvoVersion);
}

TEST_F(WriteDiagnosticLogsTest, MissingSourceLeavesTheEarlierCopy) {
  WriteFile(workFile(kFiscalLinkVersionCopyName), "earlier copy\r\n");
  WriteFile(sources_.kuvoVersionIni, "[Kuvo]\r\n");
  write();
  EXPECT_EQ(ReadFile(workFile(kFiscalLinkVersionCopyName)), "earlier copy\r\n");
  EXPECT_EQ(ReadFile(workFile(kKuvoVersionCopyName)), "[Kuvo]\r\n");
}

TEST_F(WriteDiagnosticLogsTest, UnreadableSourceLeavesTheEarlierCopyAndRaisesNothing) {
  WriteFile(sources_.fiscalLinkVersionIni, "[Version]\r\n");
  chmod(QFile::encodeName(sources_.fiscalLinkVersionIni).constData(), 0000);
  WriteFile(workFile(kFiscalLinkVersionCopyName), "earlier copy\r\n");
  chmod(QFile::encodeName(workFile(kFiscalLinkVersionCopyName)).constData(), 0666);
  {
    test::UnprivilegedFileAccess asNobody;
    EXPECT_NO_THROW(write());
  }
  EXPECT_EQ(ReadFile(workFile(kFiscalLinkVersionCopyName)), "earlier copy\r\n");
}

}  // namespace
}  // namespace pralix

namespace pralix {
namespace {

// A device that refuses every byte, as a full disk does.
TEST(AppendLogLine, WriteThatFailsIsReportedNotIgnored) {
  if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
  EXPECT_FALSE(AppendLogLine(QStringLiteral("/dev/full"), "line").isEmpty());
}

}  // namespace
}  // namespace pralix
