#include "support/desk_session.h"

#include <QProcess>
#include <QUrl>

namespace pralix::desk::test {
namespace {

const QByteArray kPassword = "ispravna lozinka 1";

// The value of a cookie the answer sets, without its attributes.
QByteArray SetCookieValue(const HttpReply& reply, const QByteArray& cookie) {
  for (const QByteArray& line : reply.head.split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0 || line.left(colon).trimmed().compare("Set-Cookie", Qt::CaseInsensitive) != 0) continue;
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (value.startsWith(cookie + '=')) return value.mid(cookie.size() + 1).split(';').first();
  }
  return {};
}

}  // namespace

QByteArray SignIn(quint16 port, const QString& databaseUrl, const QByteArray& user) {
  QProcess add;
  add.start(QStringLiteral(PRALIX_DESK_BIN),
            {QStringLiteral("user"), QStringLiteral("add"), QString::fromUtf8(user), QStringLiteral("--database"), databaseUrl});
  add.write(kPassword + '\n');
  add.closeWriteChannel();
  if (!add.waitForFinished(120000) || add.exitCode() != 0) return {};
  const QByteArray loginCookie = SetCookieValue(Exchange(port, BuildRequest("GET", "/login", {}, "")), "pralix_desk_login");
  const QByteArray form = "user=" + QUrl::toPercentEncoding(QString::fromUtf8(user)) +
                          "&password=" + QUrl::toPercentEncoding(QString::fromUtf8(kPassword)) + "&csrf=" + loginCookie;
  const HttpReply in = Exchange(port, BuildRequest("POST", "/login",
                                                   {{"Content-Type", "application/x-www-form-urlencoded"},
                                                    {"Cookie", "pralix_desk_login=" + loginCookie}},
                                                   form));
  return in.status == 303 ? SetCookieValue(in, "pralix_desk_session") : QByteArray();
}

Headers SessionCookie(const QByteArray& session) { return {{"Cookie", "pralix_desk_session=" + session}}; }

}  // namespace pralix::desk::test
