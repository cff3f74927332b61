#include "store/database_url.h"

#include <QUrl>
#include <QUrlQuery>

namespace pralix::desk {

QString DatabaseUrl::display() const {
  if (kind == Kind::Sqlite) return QStringLiteral("sqlite:") + path;
  QString text = QStringLiteral("postgresql://") + user + QLatin1Char('@') + (host.startsWith(QLatin1Char('/')) ? QString() : host);
  if (!host.startsWith(QLatin1Char('/'))) text += QLatin1Char(':') + QString::number(port);
  text += QLatin1Char('/') + database;
  if (host.startsWith(QLatin1Char('/'))) text += QStringLiteral("?host=") + host;
  return text;
}

std::optional<DatabaseUrl> ParseDatabaseUrl(const QString& text, QString* error) {
  DatabaseUrl url;
  if (text.startsWith(QStringLiteral("sqlite:"))) {
    url.path = text.mid(7);
    if (url.path.startsWith(QStringLiteral("//"))) url.path = url.path.mid(2);  // sqlite:///var/lib/desk.sqlite
    if (url.path.isEmpty()) {
      *error = QStringLiteral("sqlite: needs a file path");
      return std::nullopt;
    }
    return url;
  }
  if (!text.startsWith(QStringLiteral("postgresql://")) && !text.startsWith(QStringLiteral("postgres://"))) {
    *error = QStringLiteral("expected sqlite:PATH or postgresql://USER@HOST:PORT/DB, not \"%1\"").arg(text);
    return std::nullopt;
  }
  const QUrl parsed(text, QUrl::StrictMode);
  url.kind = DatabaseUrl::Kind::Postgresql;
  url.user = parsed.userName(QUrl::FullyDecoded);
  url.password = parsed.password(QUrl::FullyDecoded);
  url.host = parsed.host(QUrl::FullyDecoded);
  url.port = parsed.port(5432);
  url.database = parsed.path(QUrl::FullyDecoded).mid(1);
  const QUrlQuery query(parsed);
  if (query.hasQueryItem(QStringLiteral("host"))) url.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
  if (!parsed.isValid() || url.host.isEmpty() || url.database.isEmpty() || url.database.contains(QLatin1Char('/'))) {
    *error = QStringLiteral("a PostgreSQL URL needs a host (or ?host=/socket/dir) and a database: \"%1\"").arg(url.display());
    return std::nullopt;
  }
  return url;
}

}  // namespace pralix::desk
