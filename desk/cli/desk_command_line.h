#pragma once
// The desk's command line: sub-commands, their options and usage texts.
// Parsing has no side effects; main() acts on the result.

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <optional>

namespace pralix::desk {

enum class DeskCommand { Overview, Version, Serve, Printers, Records, User, Token };

// What "user" and "token" do with the name.
enum class AccountAction { Add, Remove, List };

struct DeskOptions {
  DeskCommand command = DeskCommand::Overview;
  bool help = false;  // --help: the command's usage on standard output
  QString listen = QStringLiteral("127.0.0.1:8080");
  QString database;  // empty: PRALIX_DESK_DATABASE, else the default file
  QStringList trustedProxies;
  bool json = false;
  QString ibfm;
  AccountAction action = AccountAction::List;
  QString name;  // the user or token for add and remove
};

struct ParsedCommandLine {
  std::optional<DeskOptions> options;
  QString error;  // a usage error when options is empty
  DeskCommand command = DeskCommand::Overview;  // whose usage goes with the error
};

// args without the program name.
ParsedCommandLine ParseDeskCommandLine(const QStringList& args);

QString UsageText(DeskCommand command);

struct ListenAddress {
  QHostAddress address;
  quint16 port = 0;
  QString url() const;  // "http://127.0.0.1:8080", "http://[::1]:8080"
};

// "HOST:PORT" with an IP address, "[IPv6]:PORT" or "localhost:PORT".
std::optional<ListenAddress> ParseListenAddress(const QString& text);

}  // namespace pralix::desk
