// The user's files in every bad shape a worn-out PC leaves them: empty,
// huge, cut short, with a byte-order mark or bytes the code page lacks,
// read-only, locked by another program, or a folder in their place.  Each
// ends in the specified result or a clear error, and a checksum of every
// file before and after shows that nothing of the user's was lost.

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/linux/linux_drive_c.h"
#include "support/tested_fields.h"
#include "support/unprivileged_file_access.h"
#include "workstation/diagnostic_log.h"
#include "workstation/environment_info.h"
#include "workstation/fiscal_link_files.h"
#include "workstation/fiscal_link_paths.h"
#include "workstation/text_lines.h"

namespace pralix {
namespace {

enum class Shape { Empty, HundredThousandLines, NoFinalLineBreak, ByteOrderMark, BadCodePageBytes, ReadOnly, Locked, Folder };
constexpr Shape kShapes[] = {Shape::Empty,         Shape::HundredThousandLines, Shape::NoFinalLineBreak,
                             Shape::ByteOrderMark, Shape::BadCodePageBytes,     Shape::ReadOnly,
                             Shape::Locked,        Shape::Folder};

const char* Name(Shape s) {
  switch (s) {
    case Shape::Empty: return "empty";
    case Shape::HundredThousandLines: return "100000 lines";
    case Shape::NoFinalLineBreak: return "no final line break";
    case Shape::ByteOrderMark: return "byte-order mark";
    case Shape::BadCodePageBytes: return "bytes outside the code page";
    case Shape::ReadOnly: return "read-only";
    case Shape::Locked: return "locked";
    case Shape::Folder: return "a folder";
  }
  return "?";
}

QByteArray Checksum(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "unreadable";
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
}

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
}

void Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
}

// Another program holding an exclusive lock on the file for as long as this lives.
class LockHolder {
 public:
  explicit LockHolder(const QString& path) {
    int ready[2], release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return;
    const QByteArray name = QFile::encodeName(path);
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);
      const int fd = open(name.constData(), O_RDONLY);
      const char ok = fd >= 0 && flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
      (void)!write(ready[1], &ok, 1);
      char c;
      (void)!read(release[0], &c, 1);  // until the parent closes its end
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    char ok = 'n';
    locked_ = read(ready[0], &ok, 1) == 1 && ok == 'y';
    close(ready[0]);
  }
  ~LockHolder() {
    if (release_ >= 0) close(release_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  bool locked() const { return locked_; }
 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool locked_ = false;
};

class BadUserFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    // The tests that drop to "nobody" must reach the folder itself.
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                           QFileDevice::ReadOther | QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                           QFileDevice::ExeGroup);
    drive_ = dir_.filePath("drive_c");
    work_ = dir_.filePath("work");
    QDir().mkpath(work_);
  }

  // Puts the file at path in the shape, built around the ordinary content.
  void Make(Shape shape, const QString& path, const QByteArray& ordinary, const QByteArray& bigLine,
            const QByteArray& lastLine) {
    switch (shape) {
      case Shape::Empty: Write(path, ""); break;
      case Shape::HundredThousandLines: {
        QByteArray big;
        big.reserve(100000 * (bigLine.size() + 8));
        for (int i = 0; i < 99999; ++i) big += bigLine + QByteArray::number(i) + "\r\n";
        Write(path, big + lastLine + "\r\n");
        break;
      }
      case Shape::NoFinalLineBreak: Write(path, ordinary + lastLine); break;
      case Shape::ByteOrderMark: Write(path, "\xEF\xBB\xBF" + lastLine + "\r\n" + ordinary); break;
      case Shape::BadCodePageBytes: Write(path, "Note=\x98\x98 \xC0\xFF\x81\r\n" + ordinary + lastLine + "\r\n"); break;
      case Shape::ReadOnly:
      case Shape::Locked:
        Write(path, ordinary + lastLine + "\r\n");
        if (shape == Shape::ReadOnly)
          QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        else
          QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                          QFileDevice::ReadOther);
        break;
      case Shape::Folder:
        QDir().mkpath(path);
        Write(path + "/inside.txt", "the user's own file");
        break;
    }
  }

  QString local(const char* windowsPath) const { return LinuxDriveC(drive_).map(QString::fromLatin1(windowsPath)); }

  QTemporaryDir dir_;
  QString drive_;
  QString work_;
};

using test::TestedFields;

class FixedClock final : public Clock {
 public:
  QDateTime now() const override { return QDateTime(QDate(2024, 5, 17), QTime(10, 0)); }
};

TEST_F(BadUserFilesTest, LinkIniKeepsEveryLineItDoesNotRewrite) {
  for (Shape shape : kShapes) {
    SCOPED_TRACE(Name(shape));
    const QString path = local(kLinkIniPath);
    QDir(drive_).removeRecursively();
    Make(shape, path, "[Printer]\r\nName=Shop\r\n", "Key=Value", "Port=COM1,9600");
    const QByteArray before = Read(path);
    const QByteArray sumBefore = Checksum(shape == Shape::Folder ? path + "/inside.txt" : path);

    bool threw = false;
    {
      std::unique_ptr<LockHolder> lock;
      if (shape == Shape::Locked) {
        lock = std::make_unique<LockHolder>(path);
        ASSERT_TRUE(lock->locked());
      }
      std::unique_ptr<test::UnprivilegedFileAccess> nobody;
      if (shape == Shape::ReadOnly) nobody = std::make_unique<test::UnprivilegedFileAccess>();
      try {
        UpdateLinkPort(TestedFields(), LinuxDriveC(drive_));
      } catch (const std::runtime_error& e) {
        threw = true;
        EXPECT_TRUE(QByteArray(e.what()).contains("Link.ini")) << "the error names the file: " << e.what();
      }
      // Linux locks are advisory: the holder keeps its lock on the old file,
      // and the new one takes the name beside it.
    }

    if (shape == Shape::Folder) {
      EXPECT_FALSE(threw);
      EXPECT_EQ(Checksum(path + "/inside.txt"), sumBefore);
      continue;
    }
    if (shape == Shape::ReadOnly) {
      // A file the user protected stays as it is; the caller swallows the error.
      EXPECT_TRUE(threw);
      EXPECT_EQ(Checksum(path), sumBefore);
      EXPECT_FALSE(QFile::permissions(path) & QFileDevice::WriteOwner) << "still read-only";
      continue;
    }
    EXPECT_FALSE(threw);
    QList<QByteArray> lines = SplitTextLines(before);
    for (QByteArray& line : lines) line = RewriteLinkPortLine(line, "COM3");
    EXPECT_EQ(Read(path), JoinCrLfLines(lines));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"Link.ini"})
        << "no temporary file left";
    if (shape != Shape::Empty) {
      EXPECT_TRUE(Read(path).contains("Port=COM3\r\n"));
    }
  }
}

TEST_F(BadUserFilesTest, VersionIniIsReadAndNeverChanged) {
  for (Shape shape : kShapes) {
    SCOPED_TRACE(Name(shape));
    const QString path = local(kVersionIniPath);
    QDir(drive_).removeRecursively();
    Make(shape, path, "[Version]\r\nDate=2019-05-17\r\n", "Key=Value", "Link=10.2.5");
    const QString probe = shape == Shape::Folder ? path + "/inside.txt" : path;
    const QByteArray sumBefore = Checksum(probe);

    MainFields fields;
    fields.LECurrJXVer.text = QStringLiteral("as the test left it");
    {
      std::unique_ptr<LockHolder> lock;
      if (shape == Shape::Locked) lock = std::make_unique<LockHolder>(path);
      std::unique_ptr<test::UnprivilegedFileAccess> nobody;
      if (shape == Shape::ReadOnly) nobody = std::make_unique<test::UnprivilegedFileAccess>();
      FiscalLinkVersionText(fields, LinuxDriveC(drive_));
    }
    const QString want = shape == Shape::Empty    ? QStringLiteral("as the test left it")
                         : shape == Shape::Folder ? QStringLiteral("0.0")
                                                  : QStringLiteral("10.2.5");
    EXPECT_EQ(fields.LECurrJXVer.text, want);
    EXPECT_EQ(Checksum(probe), sumBefore);
  }
}

TEST_F(BadUserFilesTest, UnreadableVersionIniGivesNoVersion) {
  const QString path = local(kVersionIniPath);
  Write(path, "Link=10.2.5\r\n");
  QFile::setPermissions(path, QFileDevice::WriteOwner);
  MainFields fields;
  {
    test::UnprivilegedFileAccess nobody;
    FiscalLinkVersionText(fields, LinuxDriveC(drive_));
  }
  EXPECT_EQ(fields.LECurrJXVer.text, QStringLiteral("0.0"));
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(Read(path), QByteArray("Link=10.2.5\r\n"));
}

TEST_F(BadUserFilesTest, SummaryLogKeepsEveryEarlierByte) {
  const QByteArray line = DiagnosticLogLine(TestedFields(), QDate(2024, 5, 17)) + "\r\n";
  for (Shape shape : kShapes) {
    SCOPED_TRACE(Name(shape));
    const QString path = QDir(work_).filePath(kSummaryLogName);
    QDir(work_).removeRecursively();
    QDir().mkpath(work_);
    QFile::setPermissions(work_, QFile::permissions(dir_.path()));
    Make(shape, path, "AG000001, 1, 1.22SR, PDI=0001, PLU=0001, 0, 00:00, COM1/Ser, 2019-01-01\r\n",
         "AG000002, 2, 1.22SR, PDI=0002, PLU=0002, 0, 00:00, COM1/Ser, 2019-01-", "AG000003, 3, last");
    const QByteArray before = Read(path);
    const QString probe = shape == Shape::Folder ? path + "/inside.txt" : path;
    const QByteArray sumBefore = Checksum(probe);

    QString error;
    {
      std::unique_ptr<LockHolder> lock;
      if (shape == Shape::Locked) lock = std::make_unique<LockHolder>(path);
      std::unique_ptr<test::UnprivilegedFileAccess> nobody;
      if (shape == Shape::ReadOnly) nobody = std::make_unique<test::UnprivilegedFileAccess>();
      try {
        WriteDiagnosticLogs(TestedFields(), FixedClock(), work_,
                            {dir_.filePath("none/Version.ini"), dir_.filePath("none/Kuvo_Version.ini")});
      } catch (const DiagnosticLogError& e) {
        error = QString::fromUtf8(e.what());
      }
    }
    if (shape == Shape::ReadOnly || shape == Shape::Folder) {
      EXPECT_TRUE(error.startsWith("Cannot create file \"" + QDir::toNativeSeparators(path) + "\"")) << error.toStdString();
      EXPECT_EQ(Checksum(probe), sumBefore);
      continue;
    }
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    const QByteArray after = Read(path);
    // The old bytes are a prefix; a last line without its line end gets one.
    const QByteArray joint = shape == Shape::NoFinalLineBreak ? QByteArray("\r\n") : QByteArray();
    EXPECT_EQ(after, before + joint + line);
  }
}

TEST_F(BadUserFilesTest, MissingDriveCIsLeftMissing) {
  MainFields fields = TestedFields();
  const LinuxDriveC drive(dir_.filePath("no-such-drive"));
  EXPECT_NO_THROW(UpdateLinkPort(fields, drive));
  EXPECT_NO_THROW(ClearLinkOutbox(drive));
  FiscalLinkVersionText(fields, drive);
  EXPECT_EQ(fields.LECurrJXVer.text, QStringLiteral("0.0"));
  EXPECT_FALSE(QFileInfo::exists(dir_.filePath("no-such-drive"))) << "nothing is created on the way";
}

TEST_F(BadUserFilesTest, ReadOnlyDriveCIsReadAndNotChanged) {
  Write(local(kLinkIniPath), "Port=COM1\r\n");
  Write(local(kVersionIniPath), "Link=10.2.5\r\n");
  Write(local(kLinkOutboxPath) + "/a.jxx", "waiting for the printer");
  const QStringList files = {local(kLinkIniPath), local(kVersionIniPath), local(kLinkOutboxPath) + "/a.jxx"};
  QList<QByteArray> sums;
  for (const QString& f : files) sums << Checksum(f);
  const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::ExeOther;
  QStringList folders;
  for (QString d = QFileInfo(files[2]).absolutePath(); d.startsWith(drive_); d = QFileInfo(d).absolutePath())
    folders << d;
  folders << QFileInfo(files[0]).absolutePath();
  for (const QString& d : folders) QFile::setPermissions(d, readOnly);

  MainFields fields = TestedFields();
  {
    test::UnprivilegedFileAccess nobody;
    EXPECT_THROW(UpdateLinkPort(fields, LinuxDriveC(drive_)), std::runtime_error);
    EXPECT_NO_THROW(ClearLinkOutbox(LinuxDriveC(drive_)));
    FiscalLinkVersionText(fields, LinuxDriveC(drive_));
  }
  EXPECT_EQ(fields.LECurrJXVer.text, QStringLiteral("10.2.5"));
  for (int i = 0; i < files.size(); ++i) EXPECT_EQ(Checksum(files[i]), sums[i]) << files[i].toStdString();
  for (const QString& d : folders) QFile::setPermissions(d, readOnly | QFileDevice::WriteOwner);
}

TEST_F(BadUserFilesTest, OutboxOfTenThousandFilesIsEmptiedOfThemAlone) {
  const QString outbox = local(kLinkOutboxPath);
  QDir().mkpath(outbox);
  for (int i = 0; i < 10000; ++i) {
    QFile f(outbox + QStringLiteral("/%1.jxx").arg(i, 5, 10, QChar('0')));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  Write(outbox + "/keep.txt", "not the printer's");
  Write(outbox + "/.hidden.jxx", "hidden");
  QDir().mkpath(outbox + "/sub.jxx");
  const QByteArray keepSum = Checksum(outbox + "/keep.txt");
  ClearLinkOutbox(LinuxDriveC(drive_));
  QStringList left = QDir(outbox).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  left.sort();
  EXPECT_EQ(left, (QStringList{".hidden.jxx", "keep.txt", "sub.jxx"}));
  EXPECT_EQ(Checksum(outbox + "/keep.txt"), keepSum);
}

}  // namespace
}  // namespace pralix
