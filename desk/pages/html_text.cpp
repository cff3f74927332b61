#include "pages/html_text.h"

#include <QUrl>

namespace pralix::desk {

QString Html(const QString& value) {
  QString html;
  html.reserve(value.size() + 16);
  for (const QChar c : value) {
    switch (c.unicode()) {
      case '&': html += QStringLiteral("&amp;"); break;
      case '<': html += QStringLiteral("&lt;"); break;
      case '>': html += QStringLiteral("&gt;"); break;
      case '"': html += QStringLiteral("&quot;"); break;
      case '\'': html += QStringLiteral("&#39;"); break;
      default:
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n') || c.unicode() == 0x7f)
          html += QChar(0xFFFD);
        else
          html += c;
    }
  }
  return html;
}

QString UrlPart(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

QString Bilingual(const QString& serbian, const QString& english) {
  return Html(serbian) + QStringLiteral(" / <span lang=\"en\">") + Html(english) + QStringLiteral("</span>");
}

QString GroupedNumber(qint64 number) {
  const QString digits = QString::number(number < 0 ? -number : number);
  QString grouped;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += QChar(0x202F);
    grouped += digits.at(i);
  }
  return number < 0 ? QLatin1Char('-') + grouped : grouped;
}

}  // namespace pralix::desk
