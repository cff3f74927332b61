#include "auth/login_page.h"

namespace pralix::desk {

QString HtmlEscaped(const QString& text) { return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;")); }

QString SafeLocalPath(const QString& next) {
  constexpr int kMaxLength = 2048;
  if (!next.startsWith(QLatin1Char('/')) || next.size() > kMaxLength) return QStringLiteral("/");
  if (next.startsWith(QStringLiteral("//")) || next.startsWith(QStringLiteral("/\\"))) return QStringLiteral("/");
  for (const QChar c : next)
    if (c.unicode() < 0x21 || c.unicode() == 0x7f || c == u'\\') return QStringLiteral("/");
  return next;
}

QByteArray LoginPageHtml(const QByteArray& csrfToken, const QString& next, const QString& message) {
  QString html = QStringLiteral(
      "<!DOCTYPE html>\n"
      "<html lang=\"sr\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Pralix Desk \u2014 Prijava / Log in</title>\n"
      "<link rel=\"stylesheet\" href=\"/desk.css\">\n</head>\n"
      "<body class=\"login\">\n<main>\n<h1>Pralix Desk</h1>\n");
  if (!message.isEmpty()) html += QStringLiteral("<p class=\"error\" role=\"alert\">%1</p>\n").arg(HtmlEscaped(message));
  html += QStringLiteral(
              "<form method=\"post\" action=\"/login\">\n"
              "<input type=\"hidden\" name=\"csrf\" value=\"%1\">\n"
              "<input type=\"hidden\" name=\"next\" value=\"%2\">\n"
              "<p><label for=\"user\">Korisnik / User</label>\n"
              "<input id=\"user\" name=\"user\" autocomplete=\"username\" required autofocus></p>\n"
              "<p><label for=\"password\">Lozinka / Password</label>\n"
              "<input id=\"password\" name=\"password\" type=\"password\" autocomplete=\"current-password\" required></p>\n"
              "<p><button type=\"submit\">Prijava / Log in</button></p>\n"
              "</form>\n</main>\n</body>\n</html>\n")
              .arg(HtmlEscaped(QString::fromLatin1(csrfToken)), HtmlEscaped(SafeLocalPath(next)));
  return html.toUtf8();
}

}  // namespace pralix::desk
