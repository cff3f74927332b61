// Random fault schedules: repeatable from the seed, one per exchange, and
// written to the fault log as the requests meet them.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "random_faults.h"

namespace pralix::sim {
namespace {

QByteArray Schedule(RandomFaults& faults) {
  QByteArray text;
  for (const DrawnFault& f : faults.DrawExchange()) text += f.Describe() + "; ";
  return text;
}

TEST(SimRandomFaults, SameSeedSameSchedulesOtherSeedOthers) {
  RandomFaults a(42), b(42), c(43);
  QByteArray sa, sb, sc;
  for (int i = 0; i < 200; ++i) {
    sa += Schedule(a);
    sb += Schedule(b);
    sc += Schedule(c);
  }
  EXPECT_EQ(sa, sb);
  EXPECT_NE(sa, sc);
}

TEST(SimRandomFaults, SchedulesCoverEveryFaultAndConditionWithinTheirLimits) {
  RandomFaults faults(7);
  std::set<QByteArray> seen;
  for (int i = 0; i < 3000; ++i) {
    const std::vector<DrawnFault> attempts = faults.DrawExchange();
    ASSERT_GE(attempts.size(), 1u);
    ASSERT_LE(attempts.size(), 4u);
    for (const DrawnFault& f : attempts) {
      EXPECT_EQ(f.status, attempts.front().status) << "a condition holds for the whole exchange";
      if (f.kind == FaultKind::ShortLength) {
        EXPECT_LT(f.lengthByte, 0x20);
        EXPECT_NE(f.lengthByte, 0x11);
        EXPECT_NE(f.lengthByte, 0x13);
      }
      for (const QByteArray& word : f.Describe().split(' ')) seen.insert(word.split(':').front());
      if (f.kind == FaultKind::Truncated && f.truncateBy == DrawnFault::kTruncateToStart) seen.insert("to-start");
    }
  }
  for (const char* name : {"none", "silent", "nak", "noise", "busy", "wrong-seq", "wrong-command", "wrong-checksum",
                           "truncated", "to-start", "short-length", "+receipt", "+journal", "+display", "+general"})
    EXPECT_TRUE(seen.count(name)) << name;
}

TEST(SimRandomFaults, RepeatsOfOneSequenceByteFollowOneScheduleThenGoClean) {
  QTemporaryDir dir;
  const QString log = dir.filePath("faults.log");
  RandomFaults reference(99);
  const std::vector<DrawnFault> first = reference.DrawExchange();  // the seed's first exchange

  RandomFaults faults(99);
  QString error;
  ASSERT_TRUE(faults.OpenLog(log, &error)) << error.toStdString();
  QByteArray expectedLog;
  for (int attempt = 0; attempt < 5; ++attempt) {
    const DrawnFault f = faults.Take(0x20, 62);
    const DrawnFault want = size_t(attempt) < first.size() ? first[size_t(attempt)] : DrawnFault{};
    EXPECT_EQ(f.kind, want.kind) << attempt;
    EXPECT_EQ(f.status, first.front().status) << attempt;
    expectedLog += "20 62 " + f.Describe() + "\n";
  }
  faults.Take(0x21, 90);  // a new sequence byte: the seed's second exchange
  expectedLog += "21 90 " + reference.DrawExchange().front().Describe() + "\n";
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), expectedLog);
}

TEST(SimRandomFaults, DescribeNamesSizesAndTheFullerCondition) {
  DrawnFault f;
  f.kind = FaultKind::Truncated;
  f.truncateBy = 3;
  f.status = StatusOfCondition("journal");
  EXPECT_EQ(f.Describe(), "truncated:3 +journal");
  f.truncateBy = DrawnFault::kTruncateToStart;
  f.status = StatusOfCondition("display");
  EXPECT_EQ(f.Describe(), "truncated:start +display");
  f.kind = FaultKind::ShortLength;
  f.lengthByte = 0x05;
  f.status = {};
  EXPECT_EQ(f.Describe(), "short-length:0x05");
  f.kind.reset();
  EXPECT_EQ(f.Describe(), "none");
}

}  // namespace
}  // namespace pralix::sim
