// Drive C on Linux: the fixed paths under a folder, found as Windows would
// find them.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/linux/linux_drive_c.h"
#include "workstation/fiscal_link_paths.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

TEST(LinuxDriveCTest, MapsFixedPathsUnderTheRoot) {
  const LinuxDriveC drive(u"/srv/wine/drive_c"_s);
  struct Case {
    QString windows;
    QString local;
  };
  const Case cases[] = {
      {QString::fromLatin1(kLinkIniPath), u"/srv/wine/drive_c/Belmora/Appl/Link.ini"_s},
      {QString::fromLatin1(kLinkOutboxPath), u"/srv/wine/drive_c/Belmora/Exch/Lnk/To_FP"_s},
      {QString::fromLatin1(kKuvoVersionIniPath), u"/srv/wine/drive_c/Kuvo/ApplInit/IniFiles/Kuvo_Version.ini"_s},
      {QString::fromLatin1(kOstrik10Path), u"/srv/wine/drive_c/Ostrik10"_s},
      {u"c:\\Belmora"_s, u"/srv/wine/drive_c/Belmora"_s},
      {u"C:\\"_s, u"/srv/wine/drive_c"_s},
  };
  for (const Case& c : cases) EXPECT_EQ(drive.map(c.windows), c.local) << c.windows.toStdString();
}

TEST(LinuxDriveCTest, FindsExistingNamesIgnoringCase) {
  QTemporaryDir temp;
  ASSERT_TRUE(QDir(temp.path()).mkpath(u"belmora/APPL"_s));
  QFile file(temp.path() + u"/belmora/APPL/LINK.INI"_s);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const LinuxDriveC drive(temp.path());
  EXPECT_EQ(drive.map(QString::fromLatin1(kLinkIniPath)), temp.path() + u"/belmora/APPL/LINK.INI"_s);
  // Missing parts keep the name they were asked for.
  EXPECT_EQ(drive.map(QString::fromLatin1(kVersionIniPath)), temp.path() + u"/belmora/APPL/Version.ini"_s);
  EXPECT_EQ(drive.map(QString::fromLatin1(kOstrik10Path)), temp.path() + u"/Ostrik10"_s);
}

TEST(LinuxDriveCTest, ExactNameWinsOverOtherCase) {
  QTemporaryDir temp;
  ASSERT_TRUE(QDir(temp.path()).mkpath(u"BELMORA"_s));
  ASSERT_TRUE(QDir(temp.path()).mkpath(u"Belmora"_s));
  EXPECT_EQ(LinuxDriveC(temp.path()).map(QString::fromLatin1(kBelmoraRoot)), temp.path() + u"/Belmora"_s);
}

TEST(LinuxDriveCTest, FindEntriesReportsKindsAndMatchesIgnoringCase) {
  QTemporaryDir temp;
  const QString outbox = temp.path() + u"/Belmora/Exch/Lnk/To_FP"_s;
  ASSERT_TRUE(QDir(outbox).mkpath(u"d.jxx"_s));
  for (const QString& name : {u"a.jxx"_s, u"B.JXX"_s, u".h.jxx"_s, u"c.txt"_s}) {
    QFile file(outbox + u'/' + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const LinuxDriveC drive(temp.path());
  QStringList seen;
  for (const FolderEntry& e : drive.findEntries(QString::fromLatin1(kLinkOutboxPath), u"*.jxx"_s)) {
    seen << QStringLiteral("%1 dir=%2 hidden=%3 system=%4").arg(e.name).arg(e.directory).arg(e.hidden).arg(e.system);
  }
  seen.sort();
  EXPECT_EQ(seen, (QStringList{u".h.jxx dir=0 hidden=1 system=0"_s, u"B.JXX dir=0 hidden=0 system=0"_s,
                               u"a.jxx dir=0 hidden=0 system=0"_s, u"d.jxx dir=1 hidden=0 system=0"_s}));
  EXPECT_TRUE(drive.findEntries(u"C:\\Nowhere"_s, u"*.jxx"_s).isEmpty());
}

TEST(LinuxDriveCTest, RootFromTheEnvironment) {
  const bool had = qEnvironmentVariableIsSet("PRALIX_DRIVE_C");
  const QByteArray old = qgetenv("PRALIX_DRIVE_C");
  qputenv("PRALIX_DRIVE_C", "/tmp/pralix-drive");
  EXPECT_EQ(LinuxDriveC::RootFromEnvironment(), u"/tmp/pralix-drive"_s);
  qunsetenv("PRALIX_DRIVE_C");
  EXPECT_EQ(LinuxDriveC::RootFromEnvironment(), QDir::homePath() + u"/.wine/drive_c"_s);
  if (had) qputenv("PRALIX_DRIVE_C", old);
}

}  // namespace
}  // namespace pralix
