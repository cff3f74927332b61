// A full disk while the summary log or Link.ini is written: a small tmpfs
// filled to the last page.  The write fails with a clear error and the old
// file keeps every byte.  Needs mount (root); skipped otherwise.

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/linux/linux_drive_c.h"
#include "workstation/diagnostic_log.h"
#include "workstation/fiscal_link_files.h"
#include "workstation/fiscal_link_paths.h"

namespace pralix {
namespace {

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    mountPoint_ = dir_.filePath("disk");
    QDir().mkpath(mountPoint_);
    if (mount("tmpfs", QFile::encodeName(mountPoint_).constData(), "tmpfs", 0, "size=256k") != 0)
      GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) umount2(QFile::encodeName(mountPoint_).constData(), MNT_DETACH);
  }

  // Writes path whole, then fills the disk until not one byte more fits.
  void PlaceThenFill(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(content), content.size());
    f.close();
    QFile filler(mountPoint_ + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
  }

  static QByteArray Sum(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex()
                                       : QByteArray("unreadable");
  }

  QTemporaryDir dir_;
  QString mountPoint_;
  bool mounted_ = false;
};

class FixedClock final : public Clock {
 public:
  QDateTime now() const override { return QDateTime(QDate(2024, 5, 17), QTime(10, 0)); }
};

MainFields Found() {
  MainFields fields;
  fields.LEIBFM.text = QStringLiteral("AG123456");
  fields.LEPIB.text = QStringLiteral("123456789");
  fields.LEFPPort.text = QStringLiteral("COM3/Ser");
  return fields;
}

TEST_F(FullDisk, SummaryLogKeepsItsBytesAndTheTestHearsWhy) {
  // Exactly one page, so the new line needs a page the disk no longer has.
  QByteArray old;
  while (old.size() < 4096 - 40) old += "AG000001, 1, 1.22SR, PDI=0001, 2019-01-01\r\n";
  old += QByteArray(4096 - 2 - old.size(), 'z') + "\r\n";
  ASSERT_EQ(old.size(), 4096);
  const QString log = mountPoint_ + "/work/" + kSummaryLogName;
  PlaceThenFill(log, old);
  const QByteArray before = Sum(log);
  try {
    WriteDiagnosticLogs(Found(), FixedClock(), mountPoint_ + "/work", {});
    ADD_FAILURE() << "a full disk must not pass for a written log";
  } catch (const DiagnosticLogError& e) {
    EXPECT_TRUE(QByteArray(e.what()).startsWith("Cannot create file")) << e.what();
    EXPECT_TRUE(QByteArray(e.what()).contains("Pralix_log.txt")) << e.what();
  }
  EXPECT_EQ(Sum(log), before) << "the half-written line is taken back";
  EXPECT_EQ(QFileInfo(log).size(), 4096);
}

TEST_F(FullDisk, LinkIniKeepsItsBytesAndLeavesNoTemporaryFile) {
  const QString drive = mountPoint_ + "/c";
  const QString ini = LinuxDriveC(drive).map(QString::fromLatin1(kLinkIniPath));
  QByteArray content = "[Printer]\r\nPort=COM1,19200\r\n";
  while (content.size() < 20000) content += "Setting=a value the shop needs\r\n";
  PlaceThenFill(ini, content);
  const QByteArray before = Sum(ini);
  try {
    UpdateLinkPort(Found(), LinuxDriveC(drive));
    ADD_FAILURE() << "a full disk must not pass for a rewritten Link.ini";
  } catch (const std::runtime_error& e) {
    EXPECT_TRUE(QByteArray(e.what()).contains("Link.ini")) << e.what();
  }
  EXPECT_EQ(Sum(ini), before);
  EXPECT_EQ(QDir(QFileInfo(ini).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"Link.ini"});
}

}  // namespace
}  // namespace pralix
