// The rules behind the gate that need no database: the login slow-down's
// window, where a login may lead back to, cookies and the proxy's word on
// TLS, names and passwords, and what a CSV cell becomes.

#include <gtest/gtest.h>

#include "api/fleet_csv.h"
#include "auth/account_rules.h"
#include "auth/cookies.h"
#include "auth/login_page.h"
#include "auth/login_throttle.h"
#include "auth/secret_text.h"

namespace pralix::desk {
namespace {

constexpr qint64 kNow = 1796803200000;  // 2026-12-09T08:00:00Z
constexpr qint64 kMinute = 60 * 1000;

TEST(LoginThrottle, CountsTheNewestFailuresInTheWindow) {
  const ThrottleRule rule;  // 5 in 15 minutes
  struct Case {
    const char* what;
    std::vector<qint64> failures;  // newest first
    std::optional<qint64> waitMs;
  } cases[] = {
      {"none", {}, std::nullopt},
      {"four", {kNow - 1, kNow - 2, kNow - 3, kNow - 4}, std::nullopt},
      {"five, the oldest 10 minutes ago",
       {kNow - 1 * kMinute, kNow - 2 * kMinute, kNow - 3 * kMinute, kNow - 4 * kMinute, kNow - 10 * kMinute},
       5 * kMinute},
      {"five, the oldest just leaving", {kNow, kNow, kNow, kNow, kNow - 15 * kMinute}, std::nullopt},
      {"five, the oldest 1 ms from leaving: at least a second", {kNow, kNow, kNow, kNow, kNow - 15 * kMinute + 1}, 1000},
      {"six: the fifth newest counts", {kNow, kNow, kNow, kNow, kNow - 2 * kMinute, kNow - 14 * kMinute}, 13 * kMinute},
  };
  for (const Case& c : cases) EXPECT_EQ(WaitBeforeAttemptMs(c.failures, kNow, rule), c.waitMs) << c.what;
}

TEST(SafeLocalPath, LeadsOnlyToThisDesk) {
  const std::pair<const char*, const char*> cases[] = {
      {"/printers/AB123?sort=pib", "/printers/AB123?sort=pib"},
      {"/", "/"},
      {"", "/"},
      {"printers", "/"},
      {"//evil.example/", "/"},
      {"/\\evil.example/", "/"},
      {"https://evil.example/", "/"},
      {"/a b", "/"},
      {"/a\r\nSet-Cookie: x=1", "/"},
  };
  for (const auto& [next, safe] : cases) EXPECT_EQ(SafeLocalPath(QString::fromLatin1(next)), QLatin1String(safe)) << next;
}

TEST(Cookies, ReadByNameAndTlsOnlyFromATrustedProxy) {
  HttpRequest request;
  request.headers = {{"Cookie", "other=1; pralix_desk_session=abc=; x=2"}, {"Cookie", "pralix_desk_login=tok"}};
  EXPECT_EQ(CookieValue(request, kSessionCookie), QByteArray("abc="));
  EXPECT_EQ(CookieValue(request, kLoginCookie), QByteArray("tok"));
  EXPECT_EQ(CookieValue(request, "pralix_desk"), std::nullopt);

  const QList<QHostAddress> proxies = {QHostAddress(QStringLiteral("127.0.0.1"))};
  struct Case {
    const char* peer;
    QByteArray proto;
    bool tls;
  } cases[] = {{"127.0.0.1", "https", true},
               {"::ffff:127.0.0.1", "HTTPS", true},
               {"127.0.0.1", "http", false},
               {"127.0.0.1", "", false},
               {"192.0.2.9", "https", false}};
  for (const Case& c : cases) {
    HttpRequest forwarded;
    forwarded.peer = QHostAddress(QString::fromLatin1(c.peer));
    if (!c.proto.isEmpty()) forwarded.headers = {{"X-Forwarded-Proto", c.proto}};
    EXPECT_EQ(CameOverTls(forwarded, proxies), c.tls) << c.peer << ' ' << c.proto.constData();
  }
  EXPECT_EQ(SetCookie(kSessionCookie, "v", "/", -1, true), "pralix_desk_session=v; HttpOnly; SameSite=Strict; Path=/; Secure");
}

TEST(AccountRules, NamesAndPasswords) {
  EXPECT_TRUE(NameProblem(QStringLiteral("marko.petrovic@servis-1")).isEmpty());
  EXPECT_TRUE(NameProblem(QString::fromUtf8("Đorđe")).isEmpty());
  for (const char* bad : {"", "a b", "a/b", "a;b"}) EXPECT_FALSE(NameProblem(QString::fromLatin1(bad)).isEmpty()) << bad;
  EXPECT_FALSE(NameProblem(QString(65, u'a')).isEmpty());

  EXPECT_FALSE(PasswordProblem(QString()).isEmpty());
  EXPECT_FALSE(PasswordProblem(QStringLiteral("123456789")).isEmpty());
  EXPECT_TRUE(PasswordProblem(QStringLiteral("1234567890")).isEmpty());
  // Ten characters, counted as people count them, not as UTF-16 units.
  EXPECT_FALSE(PasswordProblem(QString::fromUtf8("\U0001F511\U0001F511\U0001F511\U0001F511\U0001F511")).isEmpty());
  EXPECT_FALSE(PasswordProblem(QStringLiteral("1234567890\t")).isEmpty());
}

TEST(SecretText, EqualityAndEncoding) {
  EXPECT_TRUE(ConstantTimeEquals("abc", "abc"));
  EXPECT_FALSE(ConstantTimeEquals("abc", "abd"));
  EXPECT_FALSE(ConstantTimeEquals("abc", "ab"));
  EXPECT_FALSE(ConstantTimeEquals("", "a"));
  EXPECT_EQ(Base64Url(QByteArray("\xfb\xff", 2)), "-_8");
}

TEST(FleetCsv, QuotesWhereNeededAndDisarmsFormulas) {
  const std::pair<QString, QByteArray> cases[] = {
      {QStringLiteral("AB123456"), "AB123456"},
      {QString(), ""},
      {QStringLiteral("a;b"), "\"a;b\""},
      {QStringLiteral("say \"hi\""), "\"say \"\"hi\"\"\""},
      {QStringLiteral("line\r\nline"), "\"line\r\nline\""},
      {QStringLiteral("line\nline"), "\"line\nline\""},
      {QStringLiteral("=1+1"), "'=1+1"},
      {QStringLiteral("+381"), "'+381"},
      {QStringLiteral("-00:45"), "'-00:45"},
      {QStringLiteral("@SUM(A1)"), "'@SUM(A1)"},
      {QStringLiteral("\tx"), "'\tx"},
      {QStringLiteral("\rx"), "\"'\rx\""},
      {QStringLiteral("=A1;B1"), "\"'=A1;B1\""},
      {QStringLiteral("1=1"), "1=1"},
      {QString::fromUtf8("Šumadija"), "Šumadija"},
  };
  for (const auto& [value, cell] : cases) EXPECT_EQ(CsvCell(value), cell) << value.toStdString();
  EXPECT_TRUE(FleetCsvStart().startsWith("\xEF\xBB\xBFibfm;pib;"));
  EXPECT_TRUE(FleetCsvStart().endsWith("\r\n"));
  EXPECT_EQ(FleetCsvFileName(kNow), "pralix-printers-2026-12-09.csv");
}

}  // namespace
}  // namespace pralix::desk
