// The desk's command line, the database it picks and the addresses it takes.

#include <gtest/gtest.h>

#include "cli/database_choice.h"
#include "cli/desk_command_line.h"
#include "store/database_url.h"

namespace pralix::desk {
namespace {

struct LineCase {
  QStringList args;
  bool ok;
};

TEST(ParseDeskCommandLine, TakesTheDocumentedFormsAndRefusesTheRest) {
  const LineCase cases[] = {
      {{"serve"}, true},
      {{"serve", "--listen", "127.0.0.1:0", "--database=sqlite:/x", "--trusted-proxy", "10.0.0.1"}, true},
      {{"serve", "--listen", "[::1]:8080"}, true},
      {{"serve", "--listen", "localhost:8080"}, true},
      {{"printers", "--json"}, true},
      {{"records", "AG123456", "--json", "--database", "sqlite:/x"}, true},
      {{"records", "--help"}, true},
      {{}, false},
      {{"fleet"}, false},
      {{"serve", "--json"}, false},
      {{"serve", "--listen"}, false},
      {{"serve", "--listen", "8080"}, false},
      {{"serve", "--listen", "::1:8080"}, false},
      {{"serve", "--listen", "127.0.0.1:65536"}, false},
      {{"serve", "--trusted-proxy", "proxy.example"}, false},
      {{"serve", "extra"}, false},
      {{"printers", "--listen", "127.0.0.1:1"}, false},
      {{"printers", "--json=yes"}, false},
      {{"records"}, false},
      {{"records", "A", "B"}, false},
      {{"user", "add", "ana", "--database", "sqlite:/x"}, true},
      {{"user", "remove", "ana"}, true},
      {{"user", "list"}, true},
      {{"token", "add", "monitor"}, true},
      {{"token", "--help"}, true},
      {{"user"}, false},
      {{"user", "add"}, false},
      {{"user", "list", "ana"}, false},
      {{"user", "rename", "ana"}, false},
      {{"token", "add", "a", "b"}, false},
      {{"token", "list", "--json"}, false},
  };
  for (const LineCase& c : cases)
    EXPECT_EQ(ParseDeskCommandLine(c.args).options.has_value(), c.ok) << c.args.join(QLatin1Char(' ')).toStdString();
}

TEST(ParseDeskCommandLine, AUsageErrorNamesItsCommand) {
  const ParsedCommandLine parsed = ParseDeskCommandLine({QStringLiteral("records")});
  EXPECT_EQ(parsed.command, DeskCommand::Records);
  EXPECT_TRUE(UsageText(parsed.command).startsWith(QStringLiteral("Usage: pralix-desk records")));
}

TEST(ChooseDatabaseUrl, OptionThenEnvironmentThenTheStateFolder) {
  QProcessEnvironment environment;
  environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/desk"));
  EXPECT_EQ(ChooseDatabaseUrl(QString(), environment), QStringLiteral("sqlite:/home/desk/.local/state/pralix-desk/desk.sqlite"));
  environment.insert(QStringLiteral("XDG_STATE_HOME"), QStringLiteral("relative/ignored"));
  EXPECT_EQ(ChooseDatabaseUrl(QString(), environment), QStringLiteral("sqlite:/home/desk/.local/state/pralix-desk/desk.sqlite"));
  environment.insert(QStringLiteral("XDG_STATE_HOME"), QStringLiteral("/var/state"));
  EXPECT_EQ(ChooseDatabaseUrl(QString(), environment), QStringLiteral("sqlite:/var/state/pralix-desk/desk.sqlite"));
  environment.insert(QStringLiteral("PRALIX_DESK_DATABASE"), QStringLiteral("sqlite:/from/environment"));
  EXPECT_EQ(ChooseDatabaseUrl(QString(), environment), QStringLiteral("sqlite:/from/environment"));
  EXPECT_EQ(ChooseDatabaseUrl(QStringLiteral("sqlite:/from/option"), environment), QStringLiteral("sqlite:/from/option"));
}

TEST(ParseDatabaseUrl, ReadsBothKindsAndHidesThePassword) {
  QString error;
  const auto socket = ParseDatabaseUrl(QStringLiteral("postgresql://desk:s%40cret@/fleet?host=/run/postgresql"), &error);
  ASSERT_TRUE(socket) << error.toStdString();
  EXPECT_EQ(socket->host, QStringLiteral("/run/postgresql"));
  EXPECT_EQ(socket->password, QStringLiteral("s@cret"));
  EXPECT_EQ(socket->database, QStringLiteral("fleet"));
  EXPECT_FALSE(socket->display().contains(QStringLiteral("cret")));
  const auto tcp = ParseDatabaseUrl(QStringLiteral("postgres://desk@db.example:5433/fleet"), &error);
  ASSERT_TRUE(tcp);
  EXPECT_EQ(tcp->port, 5433);
  EXPECT_EQ(ParseDatabaseUrl(QStringLiteral("sqlite:///var/lib/desk.sqlite"), &error)->path, QStringLiteral("/var/lib/desk.sqlite"));
  EXPECT_EQ(ParseDatabaseUrl(QStringLiteral("sqlite:desk.sqlite"), &error)->path, QStringLiteral("desk.sqlite"));
  for (const char* bad : {"sqlite:", "mysql://x@y/z", "postgresql://desk@db.example:5432/", "desk.sqlite"})
    EXPECT_FALSE(ParseDatabaseUrl(QString::fromLatin1(bad), &error)) << bad;
}

}  // namespace
}  // namespace pralix::desk
