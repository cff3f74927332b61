// Which processes count as the fiscal-link software, over a made-up /proc.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

#include "platform/linux/linux_process_control.h"
#include "qtcompat/qt_version_compat.h"  // u"..."_s

namespace pralix {
namespace {

TEST(FiscalLinkProcessIdsTest, NamesBeginningWithOstrikInAnyCase) {
  QTemporaryDir proc;
  const auto add = [&](const QString& entry, const QByteArray* comm, const QByteArray& cmdline = {}) {
    ASSERT_TRUE(QDir(proc.path()).mkpath(entry));
    if (comm) {
      QFile file(proc.path() + u'/' + entry + u"/comm"_s);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(*comm);
    }
    QFile file(proc.path() + u'/' + entry + u"/cmdline"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(cmdline);
  };
  const QByteArray ostrik = "Ostrik\n", exe = "ostrik.exe\n", upper = "OSTRIKLINK\n", inner = "xOstrik\n",
                   other = "pralix\n", shorter = "Ostri\n", blank = "\n";
  add(u"100"_s, &ostrik);
  add(u"101"_s, &exe);
  add(u"102"_s, &upper);
  add(u"103"_s, &inner);
  add(u"104"_s, &other);
  add(u"105"_s, nullptr);  // ended while we looked
  add(u"106"_s, &shorter);
  add(u"107"_s, &blank);
  add(u"self"_s, &ostrik);
  add(u"0"_s, &ostrik);
  add(QString::number(::getpid()), &ostrik);  // never ourselves
  const QByteArray loader = "wine64-preloade\n";
  add(u"200"_s, &loader, QByteArray("C:\\Ostrik\\OstrikLink.exe\0", 26));  // under Wine
  add(u"201"_s, &loader, QByteArray("/opt/ostrik/ostrik\0--x\0", 24));
  add(u"202"_s, &loader, QByteArray("C:\\Windows\\explorer.exe\0", 25));
  add(u"203"_s, &other, QByteArray("less\0/tmp/Ostrik.log\0", 22));  // only argv[0] counts
  add(u"204"_s, &other, QByteArray("/home/Ostrik/bin/tool\0", 22));  // a folder is no name

  QList<qint64> ids = FiscalLinkProcessIds(proc.path());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, (QList<qint64>{100, 101, 102, 200, 201}));
}

TEST(FiscalLinkProcessIdsTest, MissingProcFolderGivesNothing) {
  EXPECT_TRUE(FiscalLinkProcessIds(u"/nonexistent/proc"_s).isEmpty());
}

}  // namespace
}  // namespace pralix
