// The gate of the real pralix-desk over loopback: users and tokens from the
// command line, logins, sessions shared through the database, the API and
// the CSV export, and the headers every answer carries.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QUrl>
#include <gtest/gtest.h>

#include "store/database_url.h"
#include "store/sql_connection.h"
#include "support/desk_process.h"
#include "support/fresh_database.h"
#include "support/raw_http.h"
#include "support/sample_records.h"

namespace pralix::desk::test {
namespace {

constexpr qint64 kT0 = 1796803200000;  // 2026-12-09T08:00:00Z
const QByteArray kPassword = "ispravna lozinka 1";

QStringList Args(std::initializer_list<const char*> words, const QString& databaseUrl) {
  QStringList args;
  for (const char* word : words) args += QString::fromUtf8(word);
  return args << QStringLiteral("--database") << databaseUrl;
}

// pralix-desk with input on its standard input (a pipe, not a terminal).
DeskRun RunWithInput(const QStringList& args, const QByteArray& input) {
  QProcess process;
  process.start(QStringLiteral(PRALIX_DESK_BIN), args);
  process.write(input);
  process.closeWriteChannel();
  DeskRun run;
  if (!process.waitForFinished(120000)) return run;
  run.exitCode = process.exitCode();
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

// One value of a query on the test's own connection.
QVariant SqlValue(const QString& databaseUrl, const QString& sql) {
  QString error;
  const DatabaseUrl url = *ParseDatabaseUrl(databaseUrl, &error);
  SqlConnection connection(url, *DialectFor(url.kind));
  QSqlQuery query(connection.database());
  return query.exec(sql) && query.next() ? query.value(0) : QVariant();
}

QList<QByteArray> AllHeaders(const HttpReply& reply, const QByteArray& name) {
  QList<QByteArray> values;
  for (const QByteArray& line : reply.head.split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0) values += line.mid(colon + 1).trimmed();
  }
  return values;
}

// The Set-Cookie of that cookie, whole.
QByteArray SetCookieOf(const HttpReply& reply, const QByteArray& cookie) {
  for (const QByteArray& value : AllHeaders(reply, "Set-Cookie"))
    if (value.startsWith(cookie + '=')) return value;
  return QByteArray();
}

QByteArray CookieValueIn(const QByteArray& setCookie) { return setCookie.mid(setCookie.indexOf('=') + 1).split(';').first(); }

QByteArray ErrorMessage(const HttpReply& reply) {
  return QRegularExpression(QStringLiteral("<p class=\"error\"[^>]*>([^<]*)</p>"))
      .match(QString::fromUtf8(reply.body))
      .captured(1)
      .toUtf8();
}

QByteArray Get(const QByteArray& path, const Headers& headers = {}) { return BuildRequest("GET", path, headers, ""); }

QByteArray Form(const QByteArray& path, const QByteArray& body, const Headers& headers) {
  return BuildRequest("POST", path, Headers{{"Content-Type", "application/x-www-form-urlencoded"}} + headers, body);
}

// The token with its last character changed.
QByteArray Forged(const QByteArray& token) { return token.chopped(1) + (token.endsWith('A') ? "B" : "A"); }

// POST /login with the form's token as the form shows it; wrongCsrf sends another.
HttpReply LogIn(quint16 port, const QByteArray& user, const QByteArray& password, bool wrongCsrf = false) {
  const HttpReply form = Exchange(port, Get("/login"));
  const QByteArray token = CookieValueIn(SetCookieOf(form, "pralix_desk_login"));
  const QByteArray sent = wrongCsrf ? Forged(token) : token;
  return Exchange(port, Form("/login",
                             "user=" + QUrl::toPercentEncoding(QString::fromUtf8(user)) +
                                 "&password=" + QUrl::toPercentEncoding(QString::fromUtf8(password)) + "&csrf=" + sent,
                             {{"Cookie", "pralix_desk_login=" + token}}));
}

Headers Cookie(const QByteArray& session) { return {{"Cookie", "pralix_desk_session=" + session}}; }

// The IBFMs of a CSV's rows, in order.
QStringList PrintersIn(const QByteArray& csv) {
  QStringList ibfms;
  for (const auto& match : QRegularExpression(QStringLiteral("\r\n(AG\\d{6});")).globalMatch(QString::fromUtf8(csv)))
    ibfms += match.captured(1);
  return ibfms;
}

class DeskGateTest : public ::testing::TestWithParam<DatabaseKind> {
 protected:
  void SetUp() override {
    SKIP_WITHOUT(database_);
    const DeskRun added = RunWithInput(Args({"user", "add", "ana"}, database_.url()), kPassword + '\n');
    ASSERT_EQ(added.exitCode, 0) << added.err.constData();
  }
  QString url() const { return database_.url(); }

  FreshDatabase database_{GetParam()};
};

TEST_P(DeskGateTest, UsersFromTheCommandLineLogInAndOut) {
  const std::pair<QByteArray, const char*> refused[] = {
      {"", "no password"}, {"\n", "the password is empty"}, {"123456789\n", "shorter than 10 characters"}};
  for (const auto& [input, message] : refused) {
    const DeskRun run = RunWithInput(Args({"user", "add", "bob"}, url()), input);
    EXPECT_EQ(run.exitCode, 1) << message;
    EXPECT_TRUE(run.err.contains(message)) << run.err.constData();
  }
  EXPECT_EQ(RunWithInput(Args({"user", "add", "ana"}, url()), kPassword + '\n').exitCode, 1) << "taken";
  const DeskRun list = RunDesk(Args({"user", "list"}, url()));
  EXPECT_TRUE(list.out.startsWith("ana  2")) << list.out.constData();
  EXPECT_FALSE(list.out.contains("bob"));
  const QVariant hash = SqlValue(url(), QStringLiteral("SELECT password_hash FROM users"));
  EXPECT_TRUE(hash.toString().startsWith(QStringLiteral("$argon2id$"))) << hash.toString().toStdString();

  DeskServer desk(url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  const HttpReply form = Exchange(desk.port(), Get("/login"));
  EXPECT_EQ(form.status, 200);
  EXPECT_TRUE(form.body.contains("Korisnik / User") && form.body.contains("Lozinka / Password") &&
              form.body.contains("Prijava / Log in"));
  EXPECT_TRUE(SetCookieOf(form, "pralix_desk_login").endsWith("; HttpOnly; SameSite=Strict; Path=/login; Max-Age=3600"));

  const HttpReply forged = LogIn(desk.port(), "ana", kPassword, true);
  EXPECT_EQ(forged.status, 403);
  EXPECT_TRUE(SetCookieOf(forged, "pralix_desk_session").isEmpty());
  EXPECT_EQ(SqlValue(url(), QStringLiteral("SELECT COUNT(*) FROM sessions")).toInt(), 0);
  EXPECT_EQ(Exchange(desk.port(), Form("/login", "user=ana&password=" + kPassword + "&csrf=", {})).status, 403)
      << "no form cookie";

  const HttpReply in = LogIn(desk.port(), "ana", kPassword);
  ASSERT_EQ(in.status, 303) << in.body.constData();
  EXPECT_EQ(in.header("Location"), "/");
  const QByteArray setCookie = SetCookieOf(in, "pralix_desk_session");
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^pralix_desk_session=[A-Za-z0-9_-]{43}; HttpOnly; SameSite=Strict; Path=/$"))
                  .match(QString::fromLatin1(setCookie))
                  .hasMatch())
      << setCookie.constData();
  const QByteArray session = CookieValueIn(setCookie);
  EXPECT_EQ(Exchange(desk.port(), Get("/api/printers", Cookie(session))).status, 200);

  // The session's own token is in its pages' forms; the database has it too.
  const QByteArray csrf = SqlValue(url(), QStringLiteral("SELECT csrf_token FROM sessions")).toString().toLatin1();
  EXPECT_EQ(Exchange(desk.port(), Form("/logout", "csrf=" + Forged(csrf), Cookie(session))).status, 403);
  EXPECT_EQ(Exchange(desk.port(), Get("/printers.csv", Cookie(session))).status, 200) << "still signed in";
  const HttpReply out = Exchange(desk.port(), Form("/logout", "csrf=" + csrf, Cookie(session)));
  EXPECT_EQ(out.status, 303);
  EXPECT_EQ(out.header("Location"), "/login");
  EXPECT_EQ(SetCookieOf(out, "pralix_desk_session"), "pralix_desk_session=; HttpOnly; SameSite=Strict; Path=/; Max-Age=0");
  EXPECT_EQ(Exchange(desk.port(), Get("/printers.csv", Cookie(session))).status, 303);
  EXPECT_EQ(SqlValue(url(), QStringLiteral("SELECT COUNT(*) FROM sessions")).toInt(), 0);

  // Removing the user ends the sessions they still have.
  const QByteArray again = CookieValueIn(SetCookieOf(LogIn(desk.port(), "ana", kPassword), "pralix_desk_session"));
  ASSERT_EQ(Exchange(desk.port(), Get("/api/printers", Cookie(again))).status, 200);
  EXPECT_EQ(RunDesk(Args({"user", "remove", "ana"}, url())).exitCode, 0);
  EXPECT_EQ(RunDesk(Args({"user", "remove", "ana"}, url())).exitCode, 1);
  EXPECT_EQ(Exchange(desk.port(), Get("/api/printers", Cookie(again))).status, 401);
  EXPECT_EQ(desk.terminate(), 0);
}

TEST_P(DeskGateTest, TokensReadTheFleetAsTheCommandLineShowsIt) {
  database_.open()->store({SampleRecord(QStringLiteral("AG100001"), 0, QStringLiteral("k1"), kT0),
                           SampleRecord(QStringLiteral("AG100001"), 1, QStringLiteral("k2"), kT0 + 1000),
                           SampleRecord(QStringLiteral("ZZ200002"), 2, QStringLiteral("k3"), kT0 + 2000)});
  const DeskRun added = RunDesk(Args({"token", "add", "monitor"}, url()));
  ASSERT_EQ(added.exitCode, 0) << added.err.constData();
  const QByteArray token = added.out.trimmed();
  ASSERT_TRUE(token.startsWith("pdt_")) << token.constData();
  const Headers bearer = {{"Authorization", "Bearer " + token}};

  DeskServer desk(url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  const auto json = [&](const QByteArray& path) {
    const HttpReply reply = Exchange(desk.port(), Get(path, bearer));
    EXPECT_EQ(reply.header("Content-Type"), "application/json; charset=utf-8") << path.constData();
    return std::make_pair(reply.status, QJsonDocument::fromJson(reply.body));
  };
  const QJsonArray fleet = QJsonDocument::fromJson(RunDesk(Args({"printers", "--json"}, url())).out).array();
  const QJsonArray records = QJsonDocument::fromJson(RunDesk(Args({"records", "AG100001", "--json"}, url())).out).array();
  ASSERT_EQ(fleet.size(), 2);
  ASSERT_EQ(records.size(), 2);
  EXPECT_EQ(json("/api/printers"), std::make_pair(200, QJsonDocument(fleet)));
  EXPECT_EQ(json("/api/printers?q=zz2"), std::make_pair(200, QJsonDocument(QJsonArray{fleet.at(1)})));
  EXPECT_EQ(json("/api/printers?per_page=1&page=2"), std::make_pair(200, QJsonDocument(QJsonArray{fleet.at(1)})));
  EXPECT_EQ(json("/api/printers/AG100001"), std::make_pair(200, QJsonDocument(fleet.at(0).toObject())));
  EXPECT_EQ(json("/api/printers/AG100001/records"), std::make_pair(200, QJsonDocument(records)));
  EXPECT_EQ(json("/api/printers/XX000000").first, 404);
  EXPECT_EQ(json("/api/printers/XX000000/records").first, 404);
  EXPECT_EQ(json("/api/fleet").first, 404);

  const DeskRun tokens = RunDesk(Args({"token", "list"}, url()));
  EXPECT_TRUE(tokens.out.startsWith("monitor  created 2")) << tokens.out.constData();
  EXPECT_FALSE(tokens.out.contains("pdt_"));
  EXPECT_FALSE(tokens.out.contains("never")) << "its use is noted";
  EXPECT_EQ(RunDesk(Args({"token", "remove", "monitor"}, url())).exitCode, 0);
  const HttpReply revoked = Exchange(desk.port(), Get("/api/printers", bearer));
  EXPECT_EQ(revoked.status, 401);
  EXPECT_EQ(revoked.header("WWW-Authenticate"), "Bearer realm=\"pralix-desk\"");
  EXPECT_EQ(desk.terminate(), 0);
}

TEST_P(DeskGateTest, TheCsvExportStreamsTheFilteredFleet) {
  constexpr int kPrinters = 1201;  // more than two batches
  std::vector<DiagRecord> records;
  for (int i = 0; i < kPrinters; ++i) {
    DiagRecord record = SampleRecord(QStringLiteral("AG%1").arg(i, 6, 10, QLatin1Char('0')), i, QString(), kT0 + i);
    if (i == 7) record.values[kPib] = QStringLiteral("=1+1");
    if (i == 8) record.values[kCp] = QStringLiteral("COM1;\"USB\"");
    if (i >= 600) record.values[kBpdi] = QStringLiteral("?");  // unreadable: equals when sorted
    records.push_back(record);
  }
  database_.open()->store(records);
  DeskServer desk(url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  const QByteArray session = CookieValueIn(SetCookieOf(LogIn(desk.port(), "ana", kPassword), "pralix_desk_session"));

  const HttpReply all = Exchange(desk.port(), Get("/printers.csv?sort=records&order=desc", Cookie(session)));
  ASSERT_EQ(all.status, 200);
  EXPECT_TRUE(all.chunked);
  EXPECT_GE(all.chunks, 3);
  EXPECT_EQ(all.header("Content-Type"), "text/csv; charset=utf-8");
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^attachment; filename=\"pralix-printers-\\d{4}-\\d\\d-\\d\\d\\.csv\"$"))
                  .match(QString::fromLatin1(all.header("Content-Disposition")))
                  .hasMatch());
  EXPECT_TRUE(all.body.startsWith("\xEF\xBB\xBFibfm;pib;fw;jx;bpdi;plu;tg;diff;cp;last_seen;records;first_seen;"));
  EXPECT_TRUE(all.body.contains("\r\nAG000007;'=1+1;1.22SR 09NOV03 1230,BB78;"));
  EXPECT_TRUE(all.body.contains(";\"COM1;\"\"USB\"\"\";"));
  EXPECT_TRUE(all.body.contains(";\"PRODAVNICA 8\r\n\xC5\xA0umadijska 1\r\n"));
  EXPECT_TRUE(all.body.endsWith("\r\n"));
  // Every printer once, in the order asked for (equal counts: by IBFM,
  // descending) across the batches' seams.
  const QStringList order = PrintersIn(all.body);
  ASSERT_EQ(order.size(), kPrinters);
  for (int i = 0; i < kPrinters; ++i) ASSERT_EQ(order.at(i), QStringLiteral("AG%1").arg(kPrinters - 1 - i, 6, 10, QLatin1Char('0')));
  // By free Z reports: 900 down to 301, then the 601 unreadable ones as
  // equals, by IBFM, across the seam at row 1000.
  const QStringList byFreeZ = PrintersIn(Exchange(desk.port(), Get("/printers.csv?sort=bpdi&order=desc", Cookie(session))).body);
  ASSERT_EQ(byFreeZ.size(), kPrinters);
  for (int i = 0; i < kPrinters; ++i) {
    const int n = i < 600 ? i : kPrinters - 1 - (i - 600);
    ASSERT_EQ(byFreeZ.at(i), QStringLiteral("AG%1").arg(n, 6, 10, QLatin1Char('0'))) << i;
  }

  // Pipelined on one connection: the answer after the stream waits for its end.
  HttpConnection connection(desk.port());
  ASSERT_TRUE(connection.send(Get("/printers.csv", Cookie(session)) + Get("/login")));
  const HttpReply streamed = connection.receive();
  EXPECT_EQ(streamed.body.count("\r\nAG"), kPrinters);
  EXPECT_TRUE(connection.receive().body.contains("Korisnik / User"));

  const HttpReply some = Exchange(desk.port(), Get("/printers.csv?q=ag00001", Cookie(session)));
  EXPECT_EQ(some.body.count("\r\nAG00001"), 10) << some.body.left(300).constData();
  EXPECT_EQ(some.body.count("\r\nAG"), 10);
  EXPECT_EQ(desk.terminate(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothDatabases, DeskGateTest, ::testing::Values(DatabaseKind::Sqlite, DatabaseKind::Postgresql),
                         KindName);

TEST(DeskGate, WrongUserAndWrongPasswordLookAlikeAndTheSixthFailureIsNotHeard) {
  FreshDatabase database(DatabaseKind::Sqlite);
  ASSERT_EQ(RunWithInput(Args({"user", "add", "ana"}, database.url()), kPassword + '\n').exitCode, 0);
  DeskServer desk(database.url(), {QStringLiteral("--trusted-proxy"), QStringLiteral("127.0.0.1")});
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  // The trusted proxy's word that the browser came over TLS makes cookies Secure.
  EXPECT_TRUE(SetCookieOf(Exchange(desk.port(), Get("/login", {{"X-Forwarded-Proto", "https"}})), "pralix_desk_login").endsWith("; Secure"));
  EXPECT_FALSE(SetCookieOf(Exchange(desk.port(), Get("/login")), "pralix_desk_login").endsWith("; Secure"));
  const HttpReply unknown = LogIn(desk.port(), "nobody", kPassword);
  const HttpReply wrong = LogIn(desk.port(), "ana", "pogresna lozinka");
  EXPECT_EQ(unknown.status, 403);
  EXPECT_EQ(wrong.status, 403);
  EXPECT_FALSE(ErrorMessage(wrong).isEmpty());
  EXPECT_EQ(ErrorMessage(unknown), ErrorMessage(wrong));
  // Five failures from this address; the sixth attempt is not heard, even
  // with the right password.
  for (int i = 3; i <= 5; ++i) ASSERT_EQ(LogIn(desk.port(), "ana", "pogresna lozinka").status, 403) << i;
  const HttpReply sixth = LogIn(desk.port(), "ana", kPassword);
  EXPECT_EQ(sixth.status, 429);
  EXPECT_GT(sixth.header("Retry-After").toInt(), 0);
  EXPECT_TRUE(SetCookieOf(sixth, "pralix_desk_session").isEmpty());
  EXPECT_EQ(desk.terminate(), 0);
}

TEST(DeskGate, EveryAnswerCarriesTheSecurityHeaders) {
  FreshDatabase database(DatabaseKind::Sqlite);
  ASSERT_EQ(RunWithInput(Args({"user", "add", "ana"}, database.url()), kPassword + '\n').exitCode, 0);
  const QByteArray token = RunDesk(Args({"token", "add", "t"}, database.url())).out.trimmed();
  DeskServer desk(database.url());
  ASSERT_TRUE(desk.ok()) << desk.error().constData();
  const QByteArray session = CookieValueIn(SetCookieOf(LogIn(desk.port(), "ana", kPassword), "pralix_desk_session"));
  const Headers bearer = {{"Authorization", "Bearer " + token}};
  struct Case {
    const char* what;
    QByteArray request;
    int status;
    QByteArray location = QByteArray();  // for 303
    bool noStore = true;
  } cases[] = {
      {"a record", DiagDataPost(SampleBody(QStringLiteral("AG1"))), 200},
      {"GET /dijagnostika", Get("/dijagnostika"), 405},
      {"the login form", Get("/login"), 200},
      {"a forged login", Form("/login", "user=ana&csrf=x", {}), 403},
      {"PUT /login", BuildRequest("PUT", "/login", {}, ""), 405},
      {"an unknown path", Get("/wp-admin/"), 404},
      {"a page without a session", Get("/printers/AG1?x=1"), 303, "/login?next=%2Fprinters%2FAG1%3Fx%3D1"},
      {"the fleet without a session", Get("/"), 303, "/login?next=%2F"},
      {"a POST without a session", Form("/logout", "csrf=x", {}), 403},
      {"the fleet", Get("/", Cookie(session)), 200},
      {"the CSV", Get("/printers.csv", Cookie(session)), 200},
      {"logout by GET", Get("/logout", Cookie(session)), 405},
      {"the API without a token", Get("/api/printers"), 401},
      {"the API with a made-up token", Get("/api/printers", {{"Authorization", "Bearer pdt_x"}}), 401},
      {"the API with a session's cookie and a made-up token",
       Get("/api/printers", Cookie(session) + Headers{{"Authorization", "Bearer pdt_x"}}), 401},
      {"the API", Get("/api/printers", bearer), 200},
      {"the API, POST", BuildRequest("POST", "/api/printers", bearer, "x"), 405},
      {"the stylesheet, open", Get("/desk.css"), 200, "", false},
  };
  for (const Case& c : cases) {
    const HttpReply reply = Exchange(desk.port(), c.request);
    EXPECT_EQ(reply.status, c.status) << c.what;
    if (!c.location.isEmpty()) {
      EXPECT_EQ(reply.header("Location"), c.location) << c.what;
    }
    if (c.status == 405) {
      EXPECT_FALSE(reply.header("Allow").isEmpty()) << c.what;
    }
    EXPECT_EQ(reply.header("Content-Security-Policy"),
              "default-src 'none'; style-src 'self'; img-src 'self' data:; form-action 'self'; frame-ancestors 'none'; "
              "base-uri 'none'")
        << c.what;
    EXPECT_EQ(reply.header("X-Frame-Options"), "DENY") << c.what;
    EXPECT_EQ(reply.header("X-Content-Type-Options"), "nosniff") << c.what;
    EXPECT_EQ(reply.header("Referrer-Policy"), "no-referrer") << c.what;
    EXPECT_EQ(reply.header("Cache-Control") == "no-store", c.noStore) << c.what;
  }
  EXPECT_EQ(desk.terminate(), 0);
}

TEST(DeskGate, ASessionStartedOnOneDeskWorksOnAnotherOnTheSameDatabase) {
  FreshDatabase database(DatabaseKind::Postgresql);
  SKIP_WITHOUT(database);
  ASSERT_EQ(RunWithInput(Args({"user", "add", "ana"}, database.url()), kPassword + '\n').exitCode, 0);
  DeskServer first(database.url());
  DeskServer second(database.url());
  ASSERT_TRUE(first.ok() && second.ok()) << first.error().constData() << second.error().constData();
  const QByteArray session = CookieValueIn(SetCookieOf(LogIn(first.port(), "ana", kPassword), "pralix_desk_session"));
  EXPECT_EQ(Exchange(second.port(), Get("/printers.csv", Cookie(session))).status, 200);
  const QByteArray csrf = SqlValue(database.url(), QStringLiteral("SELECT csrf_token FROM sessions")).toString().toLatin1();
  EXPECT_EQ(Exchange(second.port(), Form("/logout", "csrf=" + csrf, Cookie(session))).status, 303);
  EXPECT_EQ(Exchange(first.port(), Get("/printers.csv", Cookie(session))).status, 303);
  EXPECT_EQ(first.terminate(), 0);
  EXPECT_EQ(second.terminate(), 0);
}

}  // namespace
}  // namespace pralix::desk::test
