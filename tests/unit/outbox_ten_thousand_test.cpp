// An outbox that grew to 10 000 records (a PC offline for years, or an
// older build without bounds): the next record brings it down to its bound,
// oldest first, one log line each, and a file that is not a record stays.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include "workstation/diag_outbox.h"

namespace pralix {
namespace {

OutboxRecord RecordAt(const QDateTime& time) {
  OutboxRecord r;
  r.testTime = time;
  r.headers = {{"Accept", "text/html, */*"}};
  r.body = "ibfm=AG123456&pib=123456789&h6l=DIAG%0A&n=" + QByteArray::number(time.toSecsSinceEpoch());
  return r;
}

TEST(OutboxOfTenThousand, NextRecordDropsTheOldestDownToTheBound) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = dir.filePath("outbox");
  QDir().mkpath(folder);
  const QDateTime start(QDate(2020, 1, 1), QTime(8, 0), Qt::UTC);
  for (int i = 0; i < 10000; ++i) {
    const QDateTime t = start.addSecs(i * 60);
    QFile f(folder + "/" + t.toString("yyyyMMdd'T'hhmmsszzz'Z'") + "-0000.diagdata");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(SerializeOutboxRecord(RecordAt(t)));
  }
  QFile foreign(folder + "/notes.txt");
  ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
  foreign.write("the technician's own notes");
  foreign.close();

  QStringList log;
  DiagOutbox box(folder, [&log](const QString& line) { log << line; });
  ASSERT_TRUE(box.keep(RecordAt(start.addSecs(10000 * 60))));

  const QList<KeptRecord> kept = box.records();
  ASSERT_EQ(kept.size(), DiagOutbox::kMaxRecords);
  EXPECT_EQ(kept.front().record.testTime, start.addSecs((10001 - DiagOutbox::kMaxRecords) * 60)) << "the newest stay";
  EXPECT_EQ(kept.back().record.testTime, start.addSecs(10000 * 60));
  EXPECT_EQ(kept.back().record.body, RecordAt(start.addSecs(10000 * 60)).body);
  int dropped = 0;
  for (const QString& line : log) dropped += line.contains("dropped record");
  EXPECT_EQ(dropped, 10001 - DiagOutbox::kMaxRecords);
  QFile again(folder + "/notes.txt");
  ASSERT_TRUE(again.open(QIODevice::ReadOnly));
  EXPECT_EQ(again.readAll(), QByteArray("the technician's own notes"));
}

}  // namespace
}  // namespace pralix
