#include "pages/page_frame.h"

#include <QDateTime>

#include "pages/desk_stylesheet.h"
#include "pages/html_text.h"
#include "records/utc_time.h"

namespace pralix::desk {
namespace {

QString TopBar(const Viewer& viewer) {
  QString html = QStringLiteral("<header class=\"top\"><a class=\"home\" href=\"/\">Pralix Desk</a>\n");
  if (!viewer.user.isEmpty())
    html += QStringLiteral("<form class=\"logout\" method=\"post\" action=\"%1\"><span class=\"user\" id=\"user\">%2</span>"
                           "<input type=\"hidden\" name=\"%3\" value=\"%4\"><button type=\"submit\" id=\"logout\">%5</button></form>\n")
                .arg(QLatin1String(kLogoutPath), Html(viewer.user), QLatin1String(kCsrfField),
                     Html(QString::fromLatin1(viewer.csrfToken)), Bilingual(QStringLiteral("Odjava"), QStringLiteral("Log out")));
  return html + QStringLiteral("</header>\n");
}

}  // namespace

HttpAnswer HtmlPage(int status, const QString& title, const Viewer& viewer, const QString& main) {
  QString html = QStringLiteral(
                     "<!DOCTYPE html>\n<html lang=\"sr\">\n<head>\n<meta charset=\"utf-8\">\n"
                     "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                     "<title>%1 · Pralix Desk</title>\n<link rel=\"stylesheet\" href=\"%2\">\n</head>\n<body>\n")
                     .arg(Html(title), QLatin1String(kStylesheetPath));
  html += TopBar(viewer) + QStringLiteral("<main>\n") + main + QStringLiteral("</main>\n</body>\n</html>\n");
  HttpAnswer answer;
  answer.status = status;
  answer.body = html.toUtf8();
  answer.headers = {{"Content-Type", "text/html; charset=utf-8"}, {"Cache-Control", "no-store"}};
  return answer;
}

HttpAnswer MessagePage(int status, const Viewer& viewer, const QString& serbian, const QString& english) {
  return HtmlPage(status, serbian + QStringLiteral(" / ") + english, viewer,
                  QStringLiteral("<h1 id=\"message\">%1</h1>\n<p><a href=\"/\">%2</a></p>\n")
                      .arg(Bilingual(serbian, english), Bilingual(QStringLiteral("Štampači"), QStringLiteral("Printers"))));
}

QString DayText(qint64 ms) { return FormatDay(ms); }

QString MinuteText(qint64 ms) {
  return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

}  // namespace pralix::desk
