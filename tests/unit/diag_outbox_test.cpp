// The outbox's record files, the folder's rules (order, bounds, files that
// are not records) and the sending round, against real files in a temporary
// folder and a scripted HTTP client on a clock that only moves when told.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fake_http_client.h"
#include "workstation/diag_data.h"
#include "workstation/diag_outbox.h"
#include "workstation/diag_outbox_round.h"
#include "workstation/diag_upload.h"

namespace pralix {
namespace {

using namespace std::chrono_literals;

class SteppedClock final : public Clock {
 public:
  QDateTime now() const override { return now_; }
  void advance(std::chrono::milliseconds by) { now_ = now_.addMSecs(by.count()); }

 private:
  QDateTime now_{QDate(2024, 5, 17), QTime(10, 15, 2, 123)};
};

// Answers from a script (then 200), spending time on the clock per request,
// and records each request with the limit it was given.
class ScriptedHttp final : public HttpClient {
 public:
  struct Post {
    HttpHeaders headers;
    QByteArray body;
    std::chrono::milliseconds limit;
  };
  explicit ScriptedHttp(SteppedClock& clock) : clock_(clock) {}
  std::vector<int> statuses;
  std::chrono::milliseconds takes{0};
  std::chrono::milliseconds bound{15000};
  std::vector<Post> posts;

  int post(const QUrl& url, const HttpHeaders& headers, const QByteArray& body) override {
    return postWithin(url, headers, body, bound);
  }
  int postWithin(const QUrl&, const HttpHeaders& headers, const QByteArray& body,
                 std::chrono::milliseconds limit) override {
    posts.push_back({headers, body, limit});
    clock_.advance(std::min(takes, limit));
    if (takes > limit) return kTimedOut;
    if (statuses.empty()) return 200;
    const int status = statuses.front();
    statuses.erase(statuses.begin());
    return status;
  }
  std::chrono::milliseconds requestBound() const override { return bound; }

 private:
  SteppedClock& clock_;
};

OutboxRecord Record(const QByteArray& body, const QDateTime& time) {
  return {time, DiagDataHeaders(), body};
}

class OutboxTest : public testing::Test {
 protected:
  QTemporaryDir dir;
  QStringList logged;
  QString folder() const { return dir.filePath(QStringLiteral("outbox")); }
  DiagOutbox::LogLine log() {
    return [this](const QString& line) { logged << line; };
  }
  QStringList files() const { return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
  QDateTime at(int minute) const { return QDateTime(QDate(2024, 5, 17), QTime(9, minute)); }
};

// --- the record file -------------------------------------------------------

TEST(OutboxRecordFile, KeepsTimeHeadersAndBodyByteForByte) {
  const QByteArray body = "ibfm=AG123456&h6l=Radnja%0D%0ADIAG%0A\n\nEND-PRALIX-DIAGDATA-RECORD\n";
  const OutboxRecord record{QDateTime(QDate(2024, 5, 17), QTime(10, 15, 2, 123)), DiagDataHeaders(), body};
  const auto parsed = ParseOutboxRecord(SerializeOutboxRecord(record));
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->body, body);
  EXPECT_EQ(parsed->headers, DiagDataHeaders());
  EXPECT_EQ(parsed->testTime, record.testTime);
}

TEST(OutboxRecordFile, EveryCutShortOrChangedFileIsRefused) {
  const QByteArray whole = SerializeOutboxRecord(Record("ibfm=AG123456&pib=1", QDateTime::currentDateTime()));
  for (qsizetype length = 0; length < whole.size(); ++length)
    EXPECT_FALSE(ParseOutboxRecord(whole.left(length)).has_value()) << length;
  QByteArray changed = whole;
  changed[changed.indexOf("AG123456")] = 'X';
  EXPECT_FALSE(ParseOutboxRecord(changed).has_value());
  for (const QByteArray& foreign : {QByteArray("ibfm=AG123456&pib=1"), QByteArray("\xEF\xBB\xBFnotes"), QByteArray()})
    EXPECT_FALSE(ParseOutboxRecord(foreign).has_value());
}

// --- the folder -------------------------------------------------------------

TEST_F(OutboxTest, KeptRecordsComeBackOldestFirstWhateverOrderTheyWereKept) {
  DiagOutbox outbox(folder(), log());
  ASSERT_TRUE(outbox.keep(Record("b", at(20))));
  ASSERT_TRUE(outbox.keep(Record("a", at(10))));
  ASSERT_TRUE(outbox.keep(Record("c", at(30))));
  ASSERT_TRUE(outbox.keep(Record("c2", at(30))));  // the same millisecond: after the first
  QByteArrayList bodies;
  for (const KeptRecord& k : outbox.records()) bodies << k.record.body;
  EXPECT_EQ(bodies, (QByteArrayList{"a", "b", "c", "c2"}));
  EXPECT_EQ(files().size(), 4);  // nothing left over from the writes
  EXPECT_TRUE(logged.isEmpty());
}

TEST_F(OutboxTest, FileThatIsNotARecordIsLeftNamedOnceAndSkipped) {
  DiagOutbox outbox(folder(), log());
  ASSERT_TRUE(outbox.keep(Record("a", at(10))));
  const QString record = files().first();
  QFile cut(QDir(folder()).filePath(QStringLiteral("20240517T000000000Z-0000.diagdata")));
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write(SerializeOutboxRecord(Record("cut", at(1))).chopped(5));
  cut.close();
  QFile foreign(QDir(folder()).filePath(QStringLiteral("readme.txt")));
  ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
  foreign.write("not ours");
  foreign.close();

  EXPECT_EQ(outbox.count(), 1);
  EXPECT_EQ(outbox.count(), 1);
  ASSERT_EQ(logged.size(), 2);  // once each, not once per look
  EXPECT_TRUE(logged[0].contains(QStringLiteral("20240517T000000000Z-0000.diagdata")));
  EXPECT_TRUE(logged[1].contains(QStringLiteral("readme.txt")));
  EXPECT_EQ(files().size(), 3);
  EXPECT_EQ(outbox.records().first().fileName, record);
}

TEST_F(OutboxTest, BeyondTheBoundsTheOldestGoEachWithALogLine) {
  struct Case {
    const char* what;
    int maxRecords;
    qint64 maxBytes;
  };
  const qint64 fileSize = SerializeOutboxRecord(Record("x", at(0))).size();
  for (const Case& c : {Case{"records", 3, 1 << 20}, Case{"bytes", 1000, 3 * fileSize + fileSize / 2}}) {
    QTemporaryDir own;
    QStringList lines;
    DiagOutbox outbox(own.path(), [&](const QString& line) { lines << line; }, c.maxRecords, c.maxBytes);
    // A foreign file is neither counted nor dropped.
    QFile foreign(QDir(own.path()).filePath(QStringLiteral("big.bin")));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write(QByteArray(4 << 20, 'z'));
    foreign.close();
    for (int minute = 1; minute <= 5; ++minute) ASSERT_TRUE(outbox.keep(Record(QByteArray::number(minute), at(minute))));
    QByteArrayList bodies;
    for (const KeptRecord& k : outbox.records()) bodies << k.record.body;
    EXPECT_EQ(bodies, (QByteArrayList{"3", "4", "5"})) << c.what;
    EXPECT_TRUE(QFile::exists(foreign.fileName())) << c.what;
    ASSERT_EQ(lines.filter(QStringLiteral("dropped")).size(), 2) << c.what;
    EXPECT_TRUE(lines.filter(QStringLiteral("dropped"))[0].contains(QStringLiteral("20240517T")));
    EXPECT_TRUE(lines.filter(QStringLiteral("dropped"))[0].contains(QStringLiteral("2024-05-17 09:01:00")));
    EXPECT_TRUE(lines.filter(QStringLiteral("dropped"))[1].contains(QStringLiteral("2024-05-17 09:02:00")));
  }
}

TEST_F(OutboxTest, RecordThatCannotBeWrittenIsToldInTheLog) {
  QFile blocker(folder());  // a file where the folder should be
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  DiagOutbox outbox(folder(), log());
  EXPECT_FALSE(outbox.keep(Record("a", at(1))));
  ASSERT_EQ(logged.size(), 1);
  EXPECT_TRUE(logged[0].contains(QStringLiteral("could not be kept")));

  DiagOutbox nowhere(QString(), log());
  EXPECT_FALSE(nowhere.keep(Record("a", at(1))));
  EXPECT_EQ(nowhere.count(), 0);  // and the working directory is not taken for it
}

TEST_F(OutboxTest, LogLinesGoDatedToTheSummaryLog) {
  SteppedClock clock;
  OutboxLogTo(dir.path(), clock)(QStringLiteral("DiagData outbox: dropped record x"));
  QFile file(dir.filePath(QStringLiteral("Pralix_log.txt")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "2024-05-17 10:15:02, DiagData outbox: dropped record x\r\n");
}

// --- the round ------------------------------------------------------------------

class OutboxRoundTest : public OutboxTest {
 protected:
  SteppedClock clock;
  ScriptedHttp http{clock};
  const QUrl url{QStringLiteral("http://diag.test/dijagnostika")};

  void KeepBodies(DiagOutbox& outbox, int count) {
    for (int i = 0; i < count; ++i) ASSERT_TRUE(outbox.keep(Record("r" + QByteArray::number(100 + i), at(0).addSecs(i))));
  }
  QByteArrayList PostedBodies() const {
    QByteArrayList bodies;
    for (const auto& p : http.posts) bodies << p.body;
    return bodies;
  }
};

TEST_F(OutboxRoundTest, SendsOldestFirstAndRemovesOnlyWhatGot2xx) {
  struct Case {
    std::vector<int> statuses;
    int sent, failed, kept, posts;
  };
  for (const Case& c : {Case{{}, 3, 0, 0, 3}, Case{{204, 500}, 1, 1, 2, 2}, Case{{302}, 0, 1, 3, 1},
                        Case{{200, 200, HttpClient::kTransportFailure}, 2, 1, 1, 3}}) {
    QTemporaryDir own;
    DiagOutbox outbox(own.path(), log());
    KeepBodies(outbox, 3);
    http.posts.clear();
    http.statuses = c.statuses;
    const OutboxRound round = SendKeptRecords(outbox, http, url, clock, 20, 15000ms);
    EXPECT_EQ(round.sent, c.sent);
    EXPECT_EQ(round.failed, c.failed);
    EXPECT_EQ(round.kept, c.kept);
    EXPECT_EQ(outbox.count(), c.kept);
    EXPECT_EQ(PostedBodies(), (QByteArrayList{"r100", "r101", "r102"}.mid(0, c.posts)));
    for (const auto& p : http.posts) EXPECT_EQ(p.headers, DiagDataHeaders());
  }
}

TEST_F(OutboxRoundTest, RequestsShareTheBudget) {
  DiagOutbox outbox(folder(), log());
  KeepBodies(outbox, 5);
  // Each request takes 4 s of a 10 s budget: the third gets what is left and
  // times out, which ends the round.
  http.takes = 4000ms;
  const OutboxRound round = SendKeptRecords(outbox, http, url, clock, 20, 10000ms);
  EXPECT_EQ(round.sent, 2);
  EXPECT_EQ(round.failed, 1);
  ASSERT_EQ(http.posts.size(), 3u);
  EXPECT_EQ(http.posts[0].limit, 10000ms);
  EXPECT_EQ(http.posts[1].limit, 6000ms);
  EXPECT_EQ(http.posts[2].limit, 2000ms);
  EXPECT_EQ(outbox.count(), 3);
}

MainFields TestedFields() {
  MainFields fields;
  fields.LEIBFM.text = QStringLiteral("AG123456");
  fields.LEPIB.text = QStringLiteral("123456789");
  fields.MemoHeader = QStringList{QStringLiteral("Radnja"), QStringLiteral("Beograd")};
  return fields;
}

TEST_F(OutboxRoundTest, UploadKeepsTheNewRecordWhenItIsNotTaken) {
  DiagOutbox outbox(folder(), log());
  MainFields fields = TestedFields();
  fields.DiagDataSent = true;
  http.statuses = {500};
  UploadDiagDataKeepingFailures(fields, http, url, outbox, clock);
  EXPECT_FALSE(fields.DiagDataSent);
  const QList<KeptRecord> kept = outbox.records();
  ASSERT_EQ(kept.size(), 1);
  EXPECT_EQ(kept[0].record.body, EncodeDiagDataForm(BuildDiagData(fields)));
  EXPECT_EQ(kept[0].record.body, http.posts[0].body);  // the first try's, byte for byte
  EXPECT_EQ(kept[0].record.testTime, clock.now());
  EXPECT_EQ(kept[0].record.headers, http.posts[0].headers);

  // The resend carries the first try's key, test time and version.
  http.statuses = {200};
  EXPECT_EQ(SendKeptRecords(outbox, http, url, clock, 20, 15000ms).sent, 1);
  ASSERT_EQ(http.posts.size(), 2u);
  EXPECT_EQ(http.posts[1].headers, http.posts[0].headers);
  EXPECT_EQ(http.posts[1].body, http.posts[0].body);
}

TEST_F(OutboxRoundTest, AFailedKeptRecordKeepsTheNewOneUntried) {
  DiagOutbox outbox(folder(), log());
  KeepBodies(outbox, 2);
  MainFields fields = TestedFields();
  http.statuses = {200, HttpClient::kTimedOut};
  UploadDiagDataKeepingFailures(fields, http, url, outbox, clock);
  EXPECT_FALSE(fields.DiagDataSent);
  EXPECT_EQ(PostedBodies(), (QByteArrayList{"r100", "r101"}));
  QByteArrayList bodies;
  for (const KeptRecord& k : outbox.records()) bodies << k.record.body;
  EXPECT_EQ(bodies, (QByteArrayList{"r101", EncodeDiagDataForm(BuildDiagData(fields))}));
}

TEST_F(OutboxRoundTest, TwentyKeptThenTheNewOneWhoseOutcomeAloneIsTheFlag) {
  DiagOutbox outbox(folder(), log());
  KeepBodies(outbox, 22);
  MainFields fields = TestedFields();
  UploadDiagDataKeepingFailures(fields, http, url, outbox, clock);
  EXPECT_TRUE(fields.DiagDataSent);
  EXPECT_EQ(http.posts.size(), 21u);
  EXPECT_EQ(outbox.count(), 2);
}

TEST_F(OutboxRoundTest, AClientThatThrowsLosesNothing) {
  DiagOutbox outbox(folder(), log());
  KeepBodies(outbox, 1);
  test::FakeHttpClient throwing;
  throwing.throws = true;
  MainFields fields = TestedFields();
  EXPECT_NO_THROW(UploadDiagDataKeepingFailures(fields, throwing, url, outbox, clock));
  EXPECT_FALSE(fields.DiagDataSent);
  EXPECT_EQ(outbox.count(), 2);
}

}  // namespace
}  // namespace pralix
