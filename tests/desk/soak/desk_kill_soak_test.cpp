// The real pralix-desk killed with SIGKILL again and again while clients
// post records to it, each with a key of its own, and send again what was
// not answered 200 (same key, same body), as the tool's outbox does.  In
// the end every record is in the database exactly once, the printers' rows
// count exactly the records stored, SQLite's integrity check passes, and
// the desk starts again and serves.  PRALIX_DESK_KILLSOAK_COUNT sets the
// number of kills (scripts/desk-killsoak runs 1000), PRALIX_DESK_KILLSOAK_SEED
// the random moments.

#include <QDateTime>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <thread>
#include <gtest/gtest.h>

#include "records/utc_time.h"
#include "support/desk_process.h"
#include "support/fresh_database.h"
#include "support/raw_http.h"
#include "support/sample_records.h"

namespace pralix::desk::test {
namespace {

constexpr int kClients = 4;
constexpr int kPrinters = 40;
constexpr int kLongestDelayMs = 400;  // from "listening" to the kill
constexpr int kFinishLimitSeconds = 120;

int EnvNumber(const char* name, int fallback) {
  const QByteArray value = qgetenv(name);
  return value.isEmpty() ? fallback : value.toInt();
}

void Nap(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

struct SoakRecord {
  QString key;
  QString ibfm;
  QByteArray request;
  QByteArray body;
};

// What the clients see of the desk, and their tallies.
struct SoakShared {
  std::atomic<quint16> port{0};           // 0 while no desk is up
  std::atomic<bool> finishing{false};     // no new records: send what is open, then end
  std::atomic<bool> giveUp{false};        // the test failed: end now
  std::atomic<int> inFlight{0};           // requests sent and not yet answered
  std::atomic<int> firstTry{0};           // answered 200 at the first try
  std::atomic<int> resent{0};             // answered 200 only after a resend
  std::atomic<int> storedBeforeKill{0};   // of those: "already stored", the kill took only the answer
  std::atomic<int> brokenAttempts{0};     // connection closed by the kill (or refused)
  std::atomic<int> unexpected{0};         // any status other than 200, or 503 from a working database
};

// One client on its own thread: its records one after another, each sent
// until it is answered 200.
class SoakClient {
 public:
  SoakClient(int id, quint32 seed, SoakShared& shared) : id_(id), seed_(seed), shared_(shared) {}
  void start() { thread_ = std::thread([this] { run(); }); }
  void join() {
    if (thread_.joinable()) thread_.join();
  }
  // Read these only after join().
  const std::vector<SoakRecord>& records() const { return records_; }
  bool allAnswered() const { return answered_ == int(records_.size()); }
  // Set when the client ended after finishing() with every record answered.
  bool done() const { return done_; }

 private:
  SoakRecord make(int n) const {
    SoakRecord record;
    record.key = QStringLiteral("soak-%1-%2-%3").arg(seed_).arg(id_).arg(n);
    record.ibfm = QStringLiteral("AG%1").arg(100000 + (id_ * 7 + n) % kPrinters);
    record.body = SampleBody(record.ibfm, n);
    const qint64 testedAt = 1796803200000 + (qint64(n) * kClients + id_) * 1000;
    record.request = DiagDataPost(record.body, {{"Idempotency-Key", record.key.toLatin1()},
                                                {"Pralix-Tested-At", FormatRfc3339(testedAt).toLatin1()},
                                                {"Pralix-Version", "10.2.350"}});
    return record;
  }

  void run() {
    std::unique_ptr<HttpConnection> connection;
    quint16 connectedTo = 0;
    int attempts = 0;
    while (!shared_.giveUp) {
      if (answered_ == int(records_.size())) {
        if (shared_.finishing) {
          done_ = true;
          return;
        }
        records_.push_back(make(int(records_.size())));
        attempts = 0;
      }
      const quint16 port = shared_.port;
      if (port == 0) {
        Nap(2);
        continue;
      }
      if (!connection || connectedTo != port) {
        connection = std::make_unique<HttpConnection>(port);
        connectedTo = port;
      }
      ++attempts;
      ++shared_.inFlight;
      const bool sent = connection->connected() && connection->send(records_.back().request);
      const HttpReply reply = sent ? connection->receive() : HttpReply();
      --shared_.inFlight;
      if (reply.status == 0) {  // the desk was killed under this request, or is not up yet
        ++shared_.brokenAttempts;
        connection.reset();
        Nap(2);
      } else if (reply.status == 200) {
        ++answered_;
        if (attempts == 1) {
          ++shared_.firstTry;
        } else {
          ++shared_.resent;
          if (reply.body.startsWith("already stored")) ++shared_.storedBeforeKill;
        }
      } else {
        std::fprintf(stderr, "client %d: %s answered %d: %s", id_, qPrintable(records_.back().key), reply.status,
                     reply.body.constData());
        ++shared_.unexpected;
        Nap(10);
      }
    }
  }

  int id_;
  quint32 seed_;
  SoakShared& shared_;
  std::vector<SoakRecord> records_;
  int answered_ = 0;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// The clients, ended and joined however the test leaves.
class SoakCrew {
 public:
  SoakCrew(quint32 seed, SoakShared& shared) : shared_(shared) {
    for (int i = 0; i < kClients; ++i) clients_.push_back(std::make_unique<SoakClient>(i, seed, shared));
    for (auto& client : clients_) client->start();
  }
  ~SoakCrew() {
    shared_.giveUp = true;
    for (auto& client : clients_) client->join();
  }
  // True when every client had every record answered within the limit.
  bool finish() {
    shared_.finishing = true;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(kFinishLimitSeconds);
    for (auto& client : clients_)
      while (!client->done() && std::chrono::steady_clock::now() < limit) Nap(20);
    shared_.giveUp = true;
    bool all = true;
    for (auto& client : clients_) {
      client->join();
      all = all && client->allAnswered();
    }
    return all;
  }
  std::vector<const SoakRecord*> records() const {
    std::vector<const SoakRecord*> all;
    for (const auto& client : clients_)
      for (const SoakRecord& record : client->records()) all.push_back(&record);
    return all;
  }

 private:
  SoakShared& shared_;
  std::vector<std::unique_ptr<SoakClient>> clients_;
};

QString SqliteIntegrity(const QString& url) {
  const QString name = QStringLiteral("killsoak-integrity");
  QString result;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(url.mid(QStringLiteral("sqlite:").size()));
    if (db.open()) {
      QSqlQuery query(db);
      query.exec(QStringLiteral("PRAGMA integrity_check"));
      while (query.next()) result += query.value(0).toString();
      query.exec(QStringLiteral("PRAGMA foreign_key_check"));
      while (query.next()) result += QStringLiteral(" foreign key broken in ") + query.value(0).toString();
    }
  }
  QSqlDatabase::removeDatabase(name);
  return result;
}

class DeskKillSoak : public ::testing::TestWithParam<DatabaseKind> {};

TEST_P(DeskKillSoak, EveryAnsweredRecordIsStoredOnceAfterEveryKill) {
  FreshDatabase database(GetParam());
  SKIP_WITHOUT(database);
  const int kills = EnvNumber("PRALIX_DESK_KILLSOAK_COUNT", 20);
  const quint32 seed = quint32(EnvNumber("PRALIX_DESK_KILLSOAK_SEED", 14));
  QRandomGenerator random(seed);
  const auto started = std::chrono::steady_clock::now();

  SoakShared shared;
  SoakCrew crew(seed, shared);
  int inFlightAtKill = 0;
  for (int k = 0; k < kills; ++k) {
    DeskServer desk(database.url());
    ASSERT_TRUE(desk.ok()) << "start " << k + 1 << ": " << desk.error().constData();
    shared.port = desk.port();
    Nap(int(random.bounded(kLongestDelayMs)));
    inFlightAtKill += shared.inFlight > 0 ? 1 : 0;
    ASSERT_TRUE(desk.kill()) << "the desk had ended before kill " << k + 1 << ": " << desk.standardError().constData();
    shared.port = 0;
  }

  DeskServer desk(database.url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  shared.port = desk.port();
  ASSERT_TRUE(crew.finish()) << "records still unanswered after " << kFinishLimitSeconds << " s";
  const HttpReply after = Exchange(desk.port(), DiagDataPost(SampleBody(QStringLiteral("AG999999")), {{"Idempotency-Key", "after-the-soak"}}));
  EXPECT_EQ(after.status, 200) << after.body.constData();
  EXPECT_EQ(desk.terminate(), 0);
  EXPECT_EQ(shared.unexpected, 0);

  // Every record once, with its own body; the printers count exactly these.
  const std::vector<const SoakRecord*> sent = crew.records();
  const std::unique_ptr<DeskStore> store = database.open();
  std::map<QString, std::vector<QByteArray>> bodiesByKey;
  for (const PrinterSummary& printer : store->printers()) {
    const std::vector<DiagRecord> records = store->recordsOf(printer.values[kIbfm]);
    for (const DiagRecord& record : records) bodiesByKey[record.idempotencyKey].push_back(record.rawBody);
    EXPECT_EQ(printer.recordCount, qint64(records.size())) << printer.values[kIbfm].toStdString();
  }
  EXPECT_EQ(store->recordCount(), qint64(sent.size()) + 1);
  int missing = 0, twice = 0, otherBody = 0;
  for (const SoakRecord* record : sent) {
    const auto found = bodiesByKey.find(record->key);
    missing += found == bodiesByKey.end() ? 1 : 0;
    if (found == bodiesByKey.end()) continue;
    twice += found->second.size() > 1 ? 1 : 0;
    otherBody += found->second.front() != record->body ? 1 : 0;
  }
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(twice, 0);
  EXPECT_EQ(otherBody, 0);
  if (GetParam() == DatabaseKind::Sqlite) {
    EXPECT_EQ(SqliteIntegrity(database.url()), QStringLiteral("ok"));
  }

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("[ KILLSOAK ] %s: %d kills in %.0f s (%d with a request in flight); %zu records: %d answered at the "
              "first try, %d after a resend (%d of them stored before the kill took the answer); %d attempts cut "
              "off; missing %d, twice %d, another body %d\n",
              GetParam() == DatabaseKind::Sqlite ? "SQLite" : "PostgreSQL", kills, seconds, inFlightAtKill,
              sent.size(), shared.firstTry.load(), shared.resent.load(), shared.storedBeforeKill.load(),
              shared.brokenAttempts.load(), missing, twice, otherBody);
}

INSTANTIATE_TEST_SUITE_P(Databases, DeskKillSoak, ::testing::Values(DatabaseKind::Sqlite, DatabaseKind::Postgresql),
                         KindName);

}  // namespace
}  // namespace pralix::desk::test
