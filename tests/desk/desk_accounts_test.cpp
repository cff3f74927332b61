// Logins, sessions and tokens on real SQLite and PostgreSQL databases, with
// the clock in the test's hand: the slow-down's window and the sessions'
// lifetimes without sleeping.

#include <QDateTime>
#include <gtest/gtest.h>

#include "api/api_tokens.h"
#include "auth/cookies.h"
#include "auth/login_service.h"
#include "auth/secret_text.h"
#include "auth/session_policy.h"
#include "auth/sessions.h"
#include "auth/sodium.h"
#include "store/database_url.h"
#include "store/open_account_store.h"
#include "support/fresh_database.h"

namespace pralix::desk::test {
namespace {

constexpr qint64 kT0 = 1796803200000;  // 2026-12-09T08:00:00Z
constexpr qint64 kMinute = 60 * 1000;

class AccountsTest : public ::testing::TestWithParam<DatabaseKind> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartSodium());
    SKIP_WITHOUT(database_);
    QString error;
    store_ = OpenAccountStore(*ParseDatabaseUrl(database_.url(), &error), kT0);
    ASSERT_TRUE(store_->addUser(QStringLiteral("ana"), "$argon2id$stand-in", kT0));
    sessions_ = std::make_unique<Sessions>(*store_, random_, [this] { return now_; });
  }

  HttpRequest WithCookie(const QByteArray& id) {
    HttpRequest request;
    request.headers = {{"Cookie", QByteArray(kSessionCookie) + '=' + id}};
    return request;
  }

  FreshDatabase database_{GetParam()};
  std::unique_ptr<AccountStore> store_;
  SodiumRandom random_;
  qint64 now_ = kT0;
  std::unique_ptr<Sessions> sessions_;
};

TEST_P(AccountsTest, FailuresSlowTheAccountAndTheAddressDownUntilTheyLeaveTheWindow) {
  LoginService logins(*store_, *sessions_, [this] { return now_; }, ThrottleRule{}, "stand-in");
  const QString ana = QStringLiteral("ana");
  const QString here = QStringLiteral("192.0.2.1");
  for (int i = 0; i < 5; ++i) {
    now_ = kT0 + i * kMinute;
    ASSERT_FALSE(logins.admit(ana, here).waitMs) << i;
    EXPECT_FALSE(logins.conclude(ana, here, true, false));
  }
  // Five failures at minutes 0 to 4: the account and the address wait until
  // the first leaves the window at minute 15, whatever name or address comes.
  now_ = kT0 + 5 * kMinute;
  EXPECT_EQ(logins.admit(ana, QStringLiteral("198.51.100.2")).waitMs, 10 * kMinute);
  EXPECT_EQ(logins.admit(QStringLiteral("nobody"), here).waitMs, 10 * kMinute);
  const LoginService::Admission elsewhere = logins.admit(QStringLiteral("nobody"), QStringLiteral("198.51.100.2"));
  EXPECT_FALSE(elsewhere.waitMs);
  EXPECT_FALSE(elsewhere.userKnown);
  EXPECT_EQ(elsewhere.hashToCheck, "stand-in");

  now_ = kT0 + 15 * kMinute;
  EXPECT_FALSE(logins.conclude(QStringLiteral("bob"), QStringLiteral("198.51.100.9"), true, false));
  const LoginService::Admission again = logins.admit(ana, here);
  ASSERT_FALSE(again.waitMs);
  EXPECT_TRUE(again.userKnown);
  EXPECT_EQ(again.hashToCheck, "$argon2id$stand-in");
  // A success clears the account's count, not other accounts' failures.
  ASSERT_TRUE(logins.conclude(ana, here, true, true));
  EXPECT_TRUE(store_->failuresOfAccount(ana, kT0 - 1, 10).empty());
  EXPECT_EQ(store_->failuresOfAccount(QStringLiteral("bob"), kT0 - 1, 10), std::vector<qint64>{now_});
  // An unknown user never gets a session, even with the stand-in's password.
  EXPECT_FALSE(logins.conclude(QStringLiteral("nobody"), QStringLiteral("198.51.100.3"), false, true));
}

TEST_P(AccountsTest, SessionsEndIdleAfterTwelveHoursAndAtTheLatestAfterSevenDays) {
  const Sessions::Started started = sessions_->start(QStringLiteral("ana"));
  EXPECT_EQ(started.id.size(), 43);  // 32 bytes, base64url
  EXPECT_NE(started.id, started.csrfToken);
  // Only the id's SHA-256 is stored.
  EXPECT_FALSE(store_->session(started.id));
  ASSERT_TRUE(store_->session(Sha256Hex(started.id)));

  // Used every 11 hours, it lives until seven days after the login.
  for (now_ = kT0; now_ < kT0 + kSessionLifetimeMs; now_ += 11 * 60 * kMinute) {
    const std::optional<Viewer> viewer = sessions_->viewerOf(WithCookie(started.id));
    ASSERT_TRUE(viewer) << (now_ - kT0) / kMinute;
    EXPECT_EQ(viewer->user, QStringLiteral("ana"));
    EXPECT_EQ(viewer->csrfToken, started.csrfToken);
  }
  now_ = kT0 + kSessionLifetimeMs;
  EXPECT_FALSE(sessions_->viewerOf(WithCookie(started.id)));
  EXPECT_FALSE(store_->session(Sha256Hex(started.id))) << "an expired session is deleted";

  now_ = kT0;
  const Sessions::Started idle = sessions_->start(QStringLiteral("ana"));
  now_ = kT0 + kSessionIdleMs - 1;
  EXPECT_TRUE(sessions_->viewerOf(WithCookie(idle.id)));
  now_ += kSessionIdleMs;
  EXPECT_FALSE(sessions_->viewerOf(WithCookie(idle.id)));
  EXPECT_FALSE(sessions_->viewerOf(WithCookie("")));
}

TEST_P(AccountsTest, RemovingAUserEndsTheirSessionsAndTokensAreKeptAsHashes) {
  const Sessions::Started started = sessions_->start(QStringLiteral("ana"));
  ASSERT_TRUE(sessions_->viewerOf(WithCookie(started.id)));
  EXPECT_TRUE(store_->removeUser(QStringLiteral("ana")));
  EXPECT_FALSE(store_->removeUser(QStringLiteral("ana")));
  EXPECT_FALSE(sessions_->viewerOf(WithCookie(started.id)));
  EXPECT_TRUE(store_->addUser(QStringLiteral("ana"), "x", kT0));
  EXPECT_FALSE(store_->addUser(QStringLiteral("ana"), "y", kT0));

  ApiTokens tokens(*store_, [this] { return now_; });
  const QByteArray token = NewApiToken(random_);
  ASSERT_TRUE(token.startsWith("pdt_"));
  ASSERT_TRUE(store_->addToken(QStringLiteral("monitor"), Sha256Hex(token), kT0));
  EXPECT_FALSE(store_->addToken(QStringLiteral("monitor"), Sha256Hex("pdt_other"), kT0));
  now_ = kT0 + kMinute;
  EXPECT_EQ(tokens.check(token), QStringLiteral("monitor"));
  EXPECT_EQ(store_->tokens().at(0).lastUsedMs, kT0 + kMinute);
  EXPECT_FALSE(tokens.check(Sha256Hex(token))) << "the stored hash is no token";
  EXPECT_FALSE(tokens.check(token.chopped(1)));
  EXPECT_TRUE(store_->removeToken(QStringLiteral("monitor")));
  EXPECT_FALSE(tokens.check(token));
}

INSTANTIATE_TEST_SUITE_P(BothDatabases, AccountsTest, ::testing::Values(DatabaseKind::Sqlite, DatabaseKind::Postgresql),
                         KindName);

}  // namespace
}  // namespace pralix::desk::test
