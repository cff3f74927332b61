#include "cli/account_commands.h"

#include <QDateTime>
#include <QFileInfo>
#include <stdexcept>

#include "api/api_tokens.h"
#include "auth/account_rules.h"
#include "auth/secret_text.h"
#include "cli/database_choice.h"
#include "records/utc_time.h"
#include "store/open_account_store.h"

namespace pralix::desk {
namespace {

qint64 NowMs() { return QDateTime::currentMSecsSinceEpoch(); }

// The store, or the exit status when there is none: a bad name is refused
// before the database is touched.  Only add makes an SQLite file that is
// not there.
std::unique_ptr<AccountStore> OpenStore(const DeskOptions& options, const QProcessEnvironment& environment,
                                        Console console, int& status) {
  const QString nameProblem = options.action == AccountAction::List ? QString() : NameProblem(options.name);
  if (!nameProblem.isEmpty()) {
    console.err << "pralix-desk: " << nameProblem << Qt::endl;
    status = 1;
    return nullptr;
  }
  QString error;
  const std::optional<DatabaseUrl> url = ParseDatabaseUrl(ChooseDatabaseUrl(options.database, environment), &error);
  if (!url) {
    console.err << "pralix-desk: " << error << Qt::endl << UsageText(options.command);
    status = 2;
    return nullptr;
  }
  if (options.action != AccountAction::Add && url->kind == DatabaseUrl::Kind::Sqlite && !QFileInfo::exists(url->path)) {
    console.err << "pralix-desk: no database at " << url->path << Qt::endl;
    status = 1;
    return nullptr;
  }
  try {
    return OpenAccountStore(*url, NowMs());
  } catch (const StoreFailure& failure) {
    console.err << "pralix-desk: " << failure.message() << Qt::endl;
    status = 1;
    return nullptr;
  }
}

int Refuse(Console console, const QString& message) {
  console.err << "pralix-desk: " << message << Qt::endl;
  return 1;
}

int AddUser(AccountStore& store, const QString& name, Console console, PasswordInput& input, PasswordHasher& hasher) {
  const std::optional<QString> password = input.readPassword(QStringLiteral("Password for %1: ").arg(name));
  if (!password) return Refuse(console, QStringLiteral("no password on standard input; no user added"));
  const QString problem = PasswordProblem(*password);
  if (!problem.isEmpty()) return Refuse(console, problem + QStringLiteral("; no user added"));
  QByteArray hash;
  try {
    hash = hasher.hash(password->toUtf8());
  } catch (const std::runtime_error& error) {
    return Refuse(console, QString::fromUtf8(error.what()));
  }
  if (!store.addUser(name, hash, NowMs())) return Refuse(console, QStringLiteral("a user %1 exists already").arg(name));
  console.out << "added user " << name << Qt::endl;
  return 0;
}

}  // namespace

int RunUser(const DeskOptions& options, const QProcessEnvironment& environment, Console console, PasswordInput& input,
            PasswordHasher& hasher) {
  int status = 0;
  std::unique_ptr<AccountStore> store = OpenStore(options, environment, console, status);
  if (!store) return status;
  try {
    switch (options.action) {
      case AccountAction::Add: return AddUser(*store, options.name, console, input, hasher);
      case AccountAction::Remove:
        if (!store->removeUser(options.name)) return Refuse(console, QStringLiteral("no user %1").arg(options.name));
        console.out << "removed user " << options.name << " and ended their sessions" << Qt::endl;
        return 0;
      case AccountAction::List:
        for (const UserEntry& user : store->users()) console.out << user.name << "  " << FormatRfc3339(user.createdMs) << Qt::endl;
        return 0;
    }
  } catch (const StoreFailure& failure) {
    return Refuse(console, failure.message());
  }
  return 0;
}

int RunToken(const DeskOptions& options, const QProcessEnvironment& environment, Console console, RandomSource& random) {
  int status = 0;
  std::unique_ptr<AccountStore> store = OpenStore(options, environment, console, status);
  if (!store) return status;
  try {
    switch (options.action) {
      case AccountAction::Add: {
        const QByteArray token = NewApiToken(random);
        if (!store->addToken(options.name, Sha256Hex(token), NowMs()))
          return Refuse(console, QStringLiteral("a token %1 exists already").arg(options.name));
        console.out << token << Qt::endl;
        console.err << "pralix-desk: the token is shown only this once" << Qt::endl;
        return 0;
      }
      case AccountAction::Remove:
        if (!store->removeToken(options.name)) return Refuse(console, QStringLiteral("no token %1").arg(options.name));
        console.out << "revoked token " << options.name << Qt::endl;
        return 0;
      case AccountAction::List:
        for (const TokenEntry& token : store->tokens())
          console.out << token.name << "  created " << FormatRfc3339(token.createdMs) << "  last used "
                      << (token.lastUsedMs ? FormatRfc3339(*token.lastUsedMs) : QStringLiteral("never")) << Qt::endl;
        return 0;
    }
  } catch (const StoreFailure& failure) {
    return Refuse(console, failure.message());
  }
  return 0;
}

}  // namespace pralix::desk
