// Link.ini gets the found port; the printer outbox is emptied at start-up.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "support/fake_platform.h"
#include "support/unprivileged_file_access.h"
#include "workstation/fiscal_link_files.h"
#include "workstation/fiscal_link_paths.h"
#include "workstation/text_lines.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

TEST(LinkIniLineTest, EveryLineCase) {
  struct Case {
    QByteArray line;
    QByteArray rewritten;
  };
  const Case cases[] = {
      {"Port=COM1", "Port=COM3"},
      {"Port=COM1,9600", "Port=COM3"},       // whatever follows the "=" goes
      {"Port=COM12 ; printer", "Port=COM3"},
      {"Name=Shop", "Name=Shop"},
      {"Port=com1", "Port=com1"},            // lower case is not a port line
      {"Port = COM1", "Port = COM1"},        // no "=COM"
      {"Display=COM2", "Display=COM3"},      // any key
      {"=COM5", "=COM3"},
      {"A=B=COM1", "A=B=COM3"},              // the "=" of "=COM" counts
      {"X=COM1=COM2", "X=COM3"},
      {"Port=COMMON", "Port=COM3"},
      {"; Port=COM1", "; Port=COM3"},        // comments are lines like others
      {"", ""},
      {"[Printer]", "[Printer]"},
  };
  for (const Case& c : cases) EXPECT_EQ(RewriteLinkPortLine(c.line, "COM3"), c.rewritten) << c.line.constData();
}

TEST(LinkIniLineTest, PortNameFromThePortField) {
  struct Case {
    QString field;
    QString port;
  };
  const Case cases[] = {
      {u"COM3/Ser"_s, u"COM3"_s},
      {u"COM3/"_s, u"COM3"_s},
      {u"COM12/VCP"_s, u"COM12"_s},
      {u"/dev/ttyUSB0/USB"_s, u"/dev/ttyUSB0"_s},
      {u"/dev/pts/3/Pty"_s, u"/dev/pts/3"_s},
      {u"COM3"_s, QString()},
      {QString(), QString()},
  };
  for (const Case& c : cases) EXPECT_EQ(LinkPortName(c.field), c.port) << c.field.toStdString();
}

TEST(TextLinesTest, SplitsLikeAStringList) {
  struct Case {
    QByteArray text;
    QList<QByteArray> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << c.text.toHex().constData();
  EXPECT_EQ(JoinCrLfLines({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
  EXPECT_EQ(JoinCrLfLines({}), QByteArray());
}

class FiscalLinkFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    // Others may pass through, so that the tests of unreadable files also
    // hold when they drop to "nobody".
    ASSERT_TRUE(QFile::setPermissions(temp_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                                        QFileDevice::ExeGroup | QFileDevice::ExeOther));
  }

  QString local(const char* windowsPath) const { return drive_.map(QString::fromLatin1(windowsPath)); }

  void Write(const QString& path, const QByteArray& content) {
    ASSERT_TRUE(QFileInfo(path).absoluteDir().mkpath(u"."_s));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
  }

  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }

  static MainFields PortField(const QString& text) {
    MainFields fields;
    fields.LEFPPort.text = text;
    return fields;
  }

  QTemporaryDir temp_;
  test::FakeDriveC drive_{temp_.path()};
};

TEST_F(FiscalLinkFilesTest, LinkIniFilesOfEveryShape) {
  struct Case {
    const char* what;
    QByteArray before;
    QByteArray after;
  };
  const Case cases[] = {
      {"CR LF", "[Link]\r\nPort=COM1\r\nName=Shop\r\n", "[Link]\r\nPort=COM3\r\nName=Shop\r\n"},
      {"LF only", "[Link]\nPort=COM1,9600\nName=Shop\n", "[Link]\r\nPort=COM3\r\nName=Shop\r\n"},
      {"no final break", "Name=Shop\r\nPort=COM1", "Name=Shop\r\nPort=COM3\r\n"},
      {"lower-case com", "Port=com1\r\n", "Port=com1\r\n"},
      {"two port lines", "Port=COM1\r\nDisplay=COM2\r\n", "Port=COM3\r\nDisplay=COM3\r\n"},
      {"empty lines kept", "A=1\r\n\r\nPort=COM1\r\n", "A=1\r\n\r\nPort=COM3\r\n"},
      {"empty file", "", ""},
      {"other code page bytes kept", "Naziv=\x8A\x9A\xC8\xE8\r\nPort=COM1\r\n", "Naziv=\x8A\x9A\xC8\xE8\r\nPort=COM3\r\n"},
  };
  for (const Case& c : cases) {
    Write(local(kLinkIniPath), c.before);
    UpdateLinkPort(PortField(u"COM3/Ser"_s), drive_);
    EXPECT_EQ(Read(local(kLinkIniPath)), c.after) << c.what;
  }
}

TEST_F(FiscalLinkFilesTest, LinuxPortNameGoesIntoLinkIni) {
  Write(local(kLinkIniPath), "Port=COM1\r\n");
  UpdateLinkPort(PortField(u"/dev/ttyUSB0/USB"_s), drive_);
  EXPECT_EQ(Read(local(kLinkIniPath)), QByteArray("Port=/dev/ttyUSB0\r\n"));
}

TEST_F(FiscalLinkFilesTest, MissingLinkIniIsNotCreated) {
  UpdateLinkPort(PortField(u"COM3/Ser"_s), drive_);
  EXPECT_FALSE(QFileInfo::exists(local(kLinkIniPath)));
  EXPECT_FALSE(QFileInfo::exists(temp_.path() + u"/Belmora"_s));
}

TEST_F(FiscalLinkFilesTest, PortFieldWithoutPortLeavesLinkIniAlone) {
  Write(local(kLinkIniPath), "Port=COM1\n");
  UpdateLinkPort(PortField(QString()), drive_);
  EXPECT_EQ(Read(local(kLinkIniPath)), QByteArray("Port=COM1\n"));
}

TEST_F(FiscalLinkFilesTest, LeavesNoTemporaryFileBehind) {
  Write(local(kLinkIniPath), "Port=COM1\r\n");
  UpdateLinkPort(PortField(u"COM3/Ser"_s), drive_);
  EXPECT_EQ(QFileInfo(local(kLinkIniPath)).absoluteDir().entryList(QDir::Files | QDir::Hidden), QStringList{u"Link.ini"_s});
}

TEST_F(FiscalLinkFilesTest, UnreadableLinkIniRaisesAndStaysUntouched) {
  Write(local(kLinkIniPath), "Port=COM1\r\n");
  ASSERT_TRUE(QFile::setPermissions(local(kLinkIniPath), QFileDevice::WriteOwner));
  {
    test::UnprivilegedFileAccess asNobody;
    EXPECT_THROW(UpdateLinkPort(PortField(u"COM3/Ser"_s), drive_), std::runtime_error);
  }
  ASSERT_TRUE(QFile::setPermissions(local(kLinkIniPath), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  EXPECT_EQ(Read(local(kLinkIniPath)), QByteArray("Port=COM1\r\n"));
}

TEST_F(FiscalLinkFilesTest, UnwritableFolderRaisesAndKeepsTheOldFile) {
  Write(local(kLinkIniPath), "Port=COM1\n");
  const QString folder = QFileInfo(local(kLinkIniPath)).absolutePath();
  const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                    QFileDevice::WriteOther | QFileDevice::ReadGroup | QFileDevice::WriteGroup;
  ASSERT_TRUE(QFile::setPermissions(local(kLinkIniPath), open));
  ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ExeGroup));
  {
    test::UnprivilegedFileAccess asNobody;
    EXPECT_THROW(UpdateLinkPort(PortField(u"COM3/Ser"_s), drive_), std::runtime_error);
  }
  ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
  EXPECT_EQ(Read(local(kLinkIniPath)), QByteArray("Port=COM1\n"));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"Link.ini"_s});
}

TEST_F(FiscalLinkFilesTest, OutboxKeepsDirectoriesHiddenAndSystemFiles) {
  const QString outbox = local(kLinkOutboxPath);
  Write(outbox + u"/z.jxx"_s, "plain");
  Write(outbox + u"/Z2.JXX"_s, "upper case");
  Write(outbox + u"/.y.jxx"_s, "hidden");
  Write(outbox + u"/s.jxx"_s, "system");
  Write(outbox + u"/keep.txt"_s, "other kind");
  Write(outbox + u"/a.jxx.bak"_s, "other kind");
  ASSERT_TRUE(QDir(outbox).mkpath(u"x.jxx"_s));
  drive_.systemNames << u"s.jxx"_s;

  ClearLinkOutbox(drive_);

  QStringList left = QDir(outbox).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  left.sort();
  EXPECT_EQ(left, (QStringList{u".y.jxx"_s, u"a.jxx.bak"_s, u"keep.txt"_s, u"s.jxx"_s, u"x.jxx"_s}));
}

TEST_F(FiscalLinkFilesTest, WithoutBelmoraNothingIsDeleted) {
  // An outbox lookalike under another root is not the software's.
  const QString stray = temp_.path() + u"/Exch/Lnk/To_FP/z.jxx"_s;
  Write(stray, "x");
  ClearLinkOutbox(drive_);
  EXPECT_TRUE(QFileInfo::exists(stray));
}

TEST_F(FiscalLinkFilesTest, MissingOutboxIsNoError) {
  ASSERT_TRUE(QDir(temp_.path()).mkpath(u"Belmora/Appl"_s));
  EXPECT_NO_THROW(ClearLinkOutbox(drive_));
}

TEST_F(FiscalLinkFilesTest, UndeletableFileIsSkipped) {
  const QString outbox = local(kLinkOutboxPath);
  Write(outbox + u"/a.jxx"_s, "a");
  Write(outbox + u"/b.jxx"_s, "b");
  // A folder nobody may write in: deleting fails for every file.
  const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther |
                  QFileDevice::ReadGroup | QFileDevice::ExeGroup;
  ASSERT_TRUE(QFile::setPermissions(outbox, rx));
  {
    test::UnprivilegedFileAccess asNobody;
    EXPECT_NO_THROW(ClearLinkOutbox(drive_));
  }
  ASSERT_TRUE(QFile::setPermissions(outbox, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
  EXPECT_TRUE(QFileInfo::exists(outbox + u"/a.jxx"_s));
  EXPECT_TRUE(QFileInfo::exists(outbox + u"/b.jxx"_s));
}

}  // namespace
}  // namespace pralix
