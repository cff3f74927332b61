// The real pralix-desk program over real loopback HTTP, on real databases.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <gtest/gtest.h>
#include <thread>

#include "support/desk_process.h"
#include "support/fresh_database.h"
#include "support/postgres_cluster.h"
#include "support/raw_http.h"
#include "support/sample_records.h"

namespace pralix::desk::test {
namespace {

QSet<QString> KeySet(const QJsonObject& object) {
  const QStringList keys = object.keys();
  return QSet<QString>(keys.begin(), keys.end());
}

QByteArray Key(int n) { return "key-" + QByteArray::number(n); }

// A body of exactly size bytes (h6l padded).
QByteArray BodyOfSize(qsizetype size) {
  QByteArray body = SampleBody(QStringLiteral("AG123456"));
  return body.insert(body.indexOf("&h6l=") + 5, QByteArray(size - body.size(), 'x'));
}

struct BadRequest {
  const char* what;
  QByteArray request;
  int status;
};

TEST(DeskServe, EveryRefusedRequestStoresNothing) {
  FreshDatabase database(DatabaseKind::Sqlite);
  DeskServer desk(database.url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  const QByteArray good = SampleBody(QStringLiteral("AG123456"));
  const QByteArray form = "application/x-www-form-urlencoded";
  const BadRequest cases[] = {
      {"another path", BuildRequest("POST", "/dijagnostika/", {{"Content-Type", form}}, good), 404},
      {"an unknown path", BuildRequest("GET", "/dijagnostika.php", {}, ""), 404},
      {"GET", BuildRequest("GET", "/dijagnostika", {}, ""), 405},
      {"PUT", BuildRequest("PUT", "/dijagnostika", {{"Content-Type", form}}, good), 405},
      {"another content type", BuildRequest("POST", "/dijagnostika", {{"Content-Type", "text/plain"}}, good), 415},
      {"no content type", BuildRequest("POST", "/dijagnostika", {}, good), 415},
      {"65537 bytes", DiagDataPost(BodyOfSize(65537)), 413},
      {"a field missing", DiagDataPost(good.left(good.indexOf("&h6l="))), 400},
      {"a field twice", DiagDataPost(good + "&plu=1"), 400},
      {"an unknown field", DiagDataPost(good + "&pin=1"), 400},
      {"bad percent-encoding", DiagDataPost(QByteArray(good).replace("plu=150", "plu=%4")), 400},
      {"not UTF-8", DiagDataPost(QByteArray(good).replace("plu=150", "plu=%C0%AF")), 400},
      {"a key of 256 characters", DiagDataPost(good, {{"Idempotency-Key", QByteArray(256, 'k')}}), 400},
      {"a key with a control character", DiagDataPost(good, {{"Idempotency-Key", "a\x7f"}}), 400},
  };
  for (const BadRequest& c : cases) {
    const HttpReply reply = Exchange(desk.port(), c.request);
    EXPECT_EQ(reply.status, c.status) << c.what;
    EXPECT_FALSE(reply.body.isEmpty()) << c.what;
    if (c.status == 405) {
      EXPECT_EQ(reply.header("Allow"), "POST") << c.what;
    }
  }
  EXPECT_EQ(Exchange(desk.port(), DiagDataPost(good)).status, 200);
  EXPECT_EQ(database.open()->recordCount(), 1);
  EXPECT_EQ(desk.terminate(), 0);
}

TEST(DeskServe, KeepsTheBodyByteForByteAndTheCommandLineShowsIt) {
  FreshDatabase database(DatabaseKind::Sqlite);
  DeskServer desk(database.url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  // Lower-case hex, a literal "+" as %2B, spaces as "+", CR LF, empty values.
  const QByteArray body =
      "ibfm=AG123456&pib=&fw=1.22SR+09NOV03+1230%2cBB78&jx=10.0%2F10.2.5&tg=010110000&bpdi=12&plu=150"
      "&cp=COM3%2FSer&diff=%2B00%3A45&h6l=%C5%A0umadija+1%0D%0A%0D%0AB%0D%0AC%0D%0AD%0D%0AE%0D%0ADIAG%0A";
  EXPECT_EQ(Exchange(desk.port(), DiagDataPost(body, {{"Pralix-Version", "10.2.350"}})).status, 200);
  EXPECT_EQ(Exchange(desk.port(), DiagDataPost(BodyOfSize(65536), {{"Pralix-Tested-At", "2026-12-09T08:15:02Z"}})).status, 200);
  const std::vector<DiagRecord> kept = database.open()->recordsOf(QStringLiteral("AG123456"));
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].rawBody, BodyOfSize(65536));  // tested before the other arrived
  EXPECT_EQ(kept[1].rawBody, body);
  EXPECT_EQ(kept[1].values[kDiff], QStringLiteral("+00:45"));
  EXPECT_EQ(kept[1].values[kH6l], QString::fromUtf8("Šumadija 1\r\n\r\nB\r\nC\r\nD\r\nE\r\nDIAG\n"));
  EXPECT_EQ(kept[1].clientAddress, QStringLiteral("127.0.0.1"));
  EXPECT_EQ(desk.terminate(), 0);

  const DeskRun records = RunDesk({QStringLiteral("records"), QStringLiteral("AG123456"), QStringLiteral("--json"),
                                   QStringLiteral("--database"), database.url()});
  ASSERT_EQ(records.exitCode, 0) << records.err.constData();
  const QJsonArray list = QJsonDocument::fromJson(records.out).array();
  ASSERT_EQ(list.size(), 2);
  const QJsonObject last = list.at(1).toObject();
  EXPECT_EQ(KeySet(last),
            (QSet<QString>{"ibfm", "pib", "fw", "jx", "tg", "bpdi", "plu", "cp", "diff", "header", "tested_at",
                           "received_at", "version"}));
  EXPECT_EQ(last.value("header").toArray(), QJsonArray::fromStringList({QString::fromUtf8("Šumadija 1"), "", "B", "C", "D", "E"}));
  EXPECT_EQ(last.value("tested_at"), last.value("received_at"));  // no test time: the arrival stands in
  EXPECT_EQ(last.value("version").toString(), "10.2.350");
  EXPECT_EQ(list.at(0).toObject().value("tested_at").toString(), "2026-12-09T08:15:02.000Z");
  EXPECT_TRUE(list.at(0).toObject().value("version").isNull());

  const DeskRun printers = RunDesk({QStringLiteral("printers"), QStringLiteral("--json"), QStringLiteral("--database"), database.url()});
  ASSERT_EQ(printers.exitCode, 0) << printers.err.constData();
  const QJsonObject printer = QJsonDocument::fromJson(printers.out).array().at(0).toObject();
  EXPECT_EQ(KeySet(printer),
            (QSet<QString>{"ibfm", "pib", "fw", "jx", "tg", "bpdi", "plu", "cp", "diff", "header", "first_seen",
                           "last_seen", "records"}));
  EXPECT_EQ(printer.value("records").toInt(), 2);
  EXPECT_EQ(printer.value("first_seen").toString(), "2026-12-09T08:15:02.000Z");
  EXPECT_EQ(printer.value("last_seen"), last.value("received_at"));
  EXPECT_EQ(printer.value("diff").toString(), "+00:45");
}

TEST(DeskServe, OneRecordPerIdempotencyKey) {
  FreshDatabase database(DatabaseKind::Sqlite);
  DeskServer desk(database.url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  const QByteArray body = SampleBody(QStringLiteral("AG1"));
  const HttpReply first = Exchange(desk.port(), DiagDataPost(body, {{"Idempotency-Key", Key(1)}}));
  const HttpReply again = Exchange(desk.port(), DiagDataPost(body, {{"Idempotency-Key", Key(1)}}));
  const HttpReply other = Exchange(desk.port(), DiagDataPost(SampleBody(QStringLiteral("AG1"), 1), {{"Idempotency-Key", Key(1)}}));
  EXPECT_EQ(first.status, 200);
  EXPECT_EQ(again.status, 200);
  EXPECT_EQ(other.status, 422);
  EXPECT_EQ(Exchange(desk.port(), DiagDataPost(body)).status, 200);
  EXPECT_EQ(Exchange(desk.port(), DiagDataPost(body)).status, 200);
  EXPECT_EQ(database.open()->recordCount(), 3);  // the keyed one once, the two without a key each
}

TEST(DeskServe, SigtermAnswersTheRequestsInFlightAndStoresEachOne) {
  FreshDatabase database(DatabaseKind::Sqlite);
  DeskServer desk(database.url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  constexpr int kConnections = 24;
  std::vector<std::unique_ptr<HttpConnection>> connections;
  // One answered exchange per connection first: the desk has accepted each.
  for (int i = 0; i < kConnections; ++i) {
    connections.push_back(std::make_unique<HttpConnection>(desk.port()));
    ASSERT_TRUE(connections.back()->send(BuildRequest("GET", "/dijagnostika", {}, "")));
    ASSERT_EQ(connections.back()->receive().status, 405);
  }
  for (int i = 0; i < kConnections; ++i)
    ASSERT_TRUE(connections[i]->send(DiagDataPost(SampleBody(QStringLiteral("AG%1").arg(i)), {{"Idempotency-Key", Key(i)}})));
  desk.sendTerminate();
  for (int i = 0; i < kConnections; ++i) EXPECT_EQ(connections[i]->receive().status, 200) << i;
  EXPECT_EQ(desk.waitForExit(), 0);
  EXPECT_EQ(database.open()->recordCount(), kConnections);
}

TEST(DeskServe, AnUnreachableDatabaseEndsTheStartWithOneLine) {
  const DeskRun run = RunDesk({QStringLiteral("serve"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                               QStringLiteral("--database"), QStringLiteral("postgresql://desk@127.0.0.1:1/fleet")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_TRUE(run.err.startsWith("pralix-desk: cannot open the database postgresql://desk@127.0.0.1:1/fleet"))
      << run.err.constData();
  EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
}

TEST(DeskCommandLine, UsageErrorsHelpAndUnknownPrinters) {
  FreshDatabase database(DatabaseKind::Sqlite);
  const DeskRun usage = RunDesk({QStringLiteral("records")});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_TRUE(usage.err.contains("Usage: pralix-desk records")) << usage.err.constData();
  for (const char* command : {"serve", "printers", "records", "user", "token"}) {
    const DeskRun help = RunDesk({QString::fromLatin1(command), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0) << command;
    EXPECT_TRUE(help.out.startsWith("Usage: pralix-desk " + QByteArray(command))) << command;
  }
  const DeskRun missingFile = RunDesk({QStringLiteral("printers"), QStringLiteral("--database"), database.url()});
  EXPECT_EQ(missingFile.exitCode, 1);  // a reading command makes no database
  database.open();
  const DeskRun unknown = RunDesk({QStringLiteral("records"), QStringLiteral("XX000000"), QStringLiteral("--json"),
                                   QStringLiteral("--database"), database.url()});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_EQ(QJsonDocument::fromJson(unknown.out).array(), QJsonArray());
}

class PostgresServeTest : public ::testing::Test {
 protected:
  FreshDatabase database_{DatabaseKind::Postgresql};
};

TEST_F(PostgresServeTest, TwoDesksOnOneDatabaseStoreEachRecordOnce) {
  SKIP_WITHOUT(database_);
  // Both start at once: one migrates, the other waits for it.
  std::unique_ptr<DeskServer> desks[2] = {std::make_unique<DeskServer>(database_.url()),
                                          std::make_unique<DeskServer>(database_.url())};
  ASSERT_TRUE(desks[0]->ok()) << desks[0]->error().constData();
  ASSERT_TRUE(desks[1]->ok()) << desks[1]->error().constData();

  const quint16 ports[2] = {desks[0]->port(), desks[1]->port()};
  // Four clients; each posts every record of its share to both desks.
  constexpr int kClients = 4, kPerClient = 15;
  std::vector<std::thread> clients;
  std::atomic<int> answered200{0};
  for (int c = 0; c < kClients; ++c)
    clients.emplace_back([&, c] {
      for (int i = c * kPerClient; i < (c + 1) * kPerClient; ++i) {
        const QByteArray request = DiagDataPost(SampleBody(QStringLiteral("AG%1").arg(i % 7), i), {{"Idempotency-Key", Key(i)}});
        for (int d = (i % 2); d < (i % 2) + 2; ++d)
          if (Exchange(ports[d % 2], request).status == 200) ++answered200;
      }
    });
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(answered200, 2 * kClients * kPerClient);
  const auto store = database_.open();
  EXPECT_EQ(store->recordCount(), kClients * kPerClient);
  qint64 counted = 0;
  for (const PrinterSummary& printer : store->printers()) counted += printer.recordCount;
  EXPECT_EQ(counted, kClients * kPerClient);
  EXPECT_EQ(desks[0]->terminate(), 0);
  EXPECT_EQ(desks[1]->terminate(), 0);
}

TEST_F(PostgresServeTest, ADatabaseFailureAnswers503AndTheDeskRecovers) {
  SKIP_WITHOUT(database_);
  DeskServer desk(database_.url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  const QString name = database_.url().section(QLatin1Char('/'), -1);
  PostgresCluster& cluster = *PostgresCluster::instance();
  EXPECT_EQ(Exchange(desk.port(), DiagDataPost(SampleBody(QStringLiteral("AG1"), 0))).status, 200);

  ASSERT_TRUE(cluster.runSql(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(name)));
  ASSERT_TRUE(cluster.runSql(
      QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '%1'").arg(name)));
  EXPECT_EQ(Exchange(desk.port(), DiagDataPost(SampleBody(QStringLiteral("AG1"), 1))).status, 503);

  ASSERT_TRUE(cluster.runSql(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(name)));
  EXPECT_EQ(Exchange(desk.port(), DiagDataPost(SampleBody(QStringLiteral("AG1"), 2))).status, 200);
  const std::vector<DiagRecord> kept = database_.open()->recordsOf(QStringLiteral("AG1"));
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[1].rawBody, SampleBody(QStringLiteral("AG1"), 2));
  EXPECT_EQ(desk.terminate(), 0);
}

}  // namespace
}  // namespace pralix::desk::test
