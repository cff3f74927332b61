// The Windows and fiscal-link versions shown in LECurrJXVer.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/linux/linux_windows_version_source.h"
#include "support/fake_platform.h"
#include "support/unprivileged_file_access.h"
#include "workstation/environment_info.h"
#include "workstation/fiscal_link_paths.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

using test::FakeWindowsVersionSource;

TEST(WindowsVersionTextTest, IntegersThenStringThenNothing) {
  struct Case {
    const char* what;
    std::optional<quint32> major;
    std::optional<quint32> minor;
    std::optional<QString> currentVersion;
    QString text;
  };
  const Case cases[] = {
      {"both integers", 10, 0, u"6.3"_s, u"10.0"_s},
      {"large numbers", 4294967295u, 12, std::nullopt, u"4294967295.12"_s},
      {"minor missing", 10, std::nullopt, u"6.3"_s, u"6.3"_s},
      {"major missing", std::nullopt, 0, u"6.1"_s, u"6.1"_s},
      {"older system", std::nullopt, std::nullopt, u"6.1"_s, u"6.1"_s},
      {"nothing readable", std::nullopt, std::nullopt, std::nullopt, QString()},
      {"only one integer, no string", 10, std::nullopt, std::nullopt, QString()},
  };
  for (const Case& c : cases) {
    FakeWindowsVersionSource source;
    if (c.major) source.integers[u"CurrentMajorVersionNumber"_s] = *c.major;
    if (c.minor) source.integers[u"CurrentMinorVersionNumber"_s] = *c.minor;
    if (c.currentVersion) source.strings[u"CurrentVersion"_s] = *c.currentVersion;
    EXPECT_EQ(WindowsVersionText(source), c.text) << c.what;
  }
}

TEST(WindowsVersionTextTest, LinuxKernelReleaseStandsIn) {
  struct Case {
    QString release;
    QString text;
  };
  const Case cases[] = {
      {u"6.1.0-18-amd64"_s, u"6.1"_s},
      {u"6.18.44-fc-v1403"_s, u"6.18"_s},
      {u"5.15"_s, u"5.15"_s},
      {u"4"_s, QString()},
      {QString(), QString()},
      {u"x6.1"_s, QString()},
  };
  for (const Case& c : cases) EXPECT_EQ(WindowsVersionText(LinuxWindowsVersionSource(c.release)), c.text) << c.release.toStdString();
  EXPECT_FALSE(WindowsVersionText(LinuxWindowsVersionSource(LinuxWindowsVersionSource::RunningKernelRelease())).isEmpty());
}

class FiscalLinkVersionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    ASSERT_TRUE(QFile::setPermissions(temp_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                                        QFileDevice::ExeGroup | QFileDevice::ExeOther));
  }

  QString local(const char* windowsPath) const { return drive_.map(QString::fromLatin1(windowsPath)); }

  void WriteVersionIni(const QByteArray& content) {
    const QString path = local(kVersionIniPath);
    ASSERT_TRUE(QFileInfo(path).absoluteDir().mkpath(u"."_s));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  void MakeOstrik10() { ASSERT_TRUE(QDir(temp_.path()).mkpath(u"Ostrik10"_s)); }

  QString FieldAfter(const QString& before = QString()) {
    MainFields fields;
    fields.LECurrJXVer.text = before;
    FiscalLinkVersionText(fields, drive_);
    return fields.LECurrJXVer.text;
  }

  QTemporaryDir temp_;
  test::FakeDriveC drive_{temp_.path()};
};

TEST_F(FiscalLinkVersionTest, VersionFileCases) {
  struct Case {
    const char* what;
    QByteArray content;
    QString field;
  };
  const Case cases[] = {
      {"version line first", "Link=10.2.5\r\n", u"10.2.5"_s},
      {"any letter case", "[Version]\r\nlInK=10.2.5\r\n", u"10.2.5"_s},
      {"third line", "[Version]\r\nBuild=77\r\nLink=10.2.5\r\nOther=1\r\n", u"10.2.5"_s},
      {"first LINK line wins", "Link=10.2.5\r\nLink=9.0\r\n", u"10.2.5"_s},
      {"LINK anywhere in the line", "JXLinkVer=3.1\n", u"3.1"_s},
      {"text after the first =", "Link=a=b\n", u"a=b"_s},
      {"no =", "Version Link 10\r\n", u"Version Link 10"_s},
      {"empty value", "Link=\r\n", QString()},
      {"no version line", "[Version]\r\nBuild=77\r\n", u"0.0"_s},
      {"no final break", "[Version]\r\nLink=10.3", u"10.3"_s},
      {"LF only", "x\nLink=10.4\n", u"10.4"_s},
      {"Central European letters", "Link=10.2 \x8A\xE8\n", u"10.2 Šč"_s},
  };
  for (const Case& c : cases) {
    WriteVersionIni(c.content);
    EXPECT_EQ(FieldAfter(u"stale"_s), c.field) << c.what;
  }
}

TEST_F(FiscalLinkVersionTest, EmptyFileLeavesTheFieldAsItWas) {
  WriteVersionIni("");
  EXPECT_EQ(FieldAfter(), QString());
  EXPECT_EQ(FieldAfter(u"left by the test"_s), u"left by the test"_s);
}

TEST_F(FiscalLinkVersionTest, VersionFileWinsOverOstrik10) {
  MakeOstrik10();
  WriteVersionIni("Link=10.2.5\r\n");
  EXPECT_EQ(FieldAfter(), u"10.2.5"_s);
}

TEST_F(FiscalLinkVersionTest, MissingFileWithAndWithoutOstrik10) {
  EXPECT_EQ(FieldAfter(u"stale"_s), u"0.0"_s);
  MakeOstrik10();
  EXPECT_EQ(FieldAfter(u"stale"_s), u"10.1"_s);
}

TEST_F(FiscalLinkVersionTest, Ostrik10MustBeAFolder) {
  QFile file(temp_.path() + u"/Ostrik10"_s);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_EQ(FieldAfter(), u"0.0"_s);
}

TEST_F(FiscalLinkVersionTest, UnreadableFileGivesNoVersion) {
  WriteVersionIni("Link=10.2.5\r\n");
  ASSERT_TRUE(QFile::setPermissions(local(kVersionIniPath), QFileDevice::WriteOwner));
  QString field;
  {
    test::UnprivilegedFileAccess asNobody;
    field = FieldAfter(u"stale"_s);
  }
  ASSERT_TRUE(QFile::setPermissions(local(kVersionIniPath), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  EXPECT_EQ(field, u"0.0"_s);
}

TEST_F(FiscalLinkVersionTest, FillJoinsWindowsAndFiscalLinkVersions) {
  struct Case {
    const char* what;
    bool integers;
    QByteArray versionIni;  // null: no file
    bool ostrik10;
    QString field;
  };
  const Case cases[] = {
      {"Windows 10, Version.ini", true, "[V]\r\nLink=10.2.5\r\n", false, u"10.0/10.2.5"_s},
      {"Windows 7, nothing installed", false, QByteArray(), false, u"6.1/0.0"_s},
      {"Windows 7, older installation", false, QByteArray(), true, u"6.1/10.1"_s},
      {"version line without =", true, "LINK 10\r\n", false, u"10.0/LINK 10"_s},
      {"empty Version.ini", true, "", false, u"10.0/"_s},
  };
  for (const Case& c : cases) {
    QTemporaryDir temp;
    test::FakeDriveC drive(temp.path());
    if (!c.versionIni.isNull()) {
      ASSERT_TRUE(QDir(temp.path()).mkpath(u"Belmora/Appl"_s));
      QFile file(temp.path() + u"/Belmora/Appl/Version.ini"_s);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.versionIni);
    }
    if (c.ostrik10) {
      ASSERT_TRUE(QDir(temp.path()).mkpath(u"Ostrik10"_s));
    }
    FakeWindowsVersionSource source;
    if (c.integers) {
      source.integers[u"CurrentMajorVersionNumber"_s] = 10;
      source.integers[u"CurrentMinorVersionNumber"_s] = 0;
    }
    source.strings[u"CurrentVersion"_s] = u"6.1"_s;
    MainFields fields;  // the test empties the field before
    FillEnvironmentField(fields, source, drive);
    EXPECT_EQ(fields.LECurrJXVer.text, c.field) << c.what;
    EXPECT_FALSE(fields.LECurrJXVer.red);
  }
}

}  // namespace
}  // namespace pralix
