// Which processes count as the fiscal-link software, over a made-up /proc.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

#include "platform/linux/linux_process_control.h"

namespace pralix {
using namespace Qt::StringLiterals;
namespace {

TEST(FiscalLinkProcessIdsTest, NamesBeginningWithOstrikInAnyCase) {
  QTemporaryDir proc;
  const auto add = [&](const QString& entry, const QByteArray* comm) {
    ASSERT_TRUE(QDir(proc.path()).mkpath(entry));
    if (!comm) return;
    QFile file(proc.path() + u'/' + entry + u"/comm"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(*comm);
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

  QList<qint64> ids = FiscalLinkProcessIds(proc.path());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, (QList<qint64>{100, 101, 102}));
}

TEST(FiscalLinkProcessIdsTest, MissingProcFolderGivesNothing) {
  EXPECT_TRUE(FiscalLinkProcessIds(u"/nonexistent/proc"_s).isEmpty());
}

}  // namespace
}  // namespace pralix
