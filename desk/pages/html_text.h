#pragma once
// Every value a page shows came from a till or a person: it reaches the
// HTML only through Html(), in text and in attribute values alike, and a
// URL only through UrlPart().

#include <QByteArray>
#include <QString>

namespace pralix::desk {

// & < > " ' as entities; control characters (other than tab and line
// feed) as U+FFFD, so a damaged value shows as damaged rather than vanishing.
QString Html(const QString& value);

// A path segment or query value: everything but A-Z a-z 0-9 - . _ ~
// percent-encoded (UTF-8), so "/", "?", "#", "&" and "%" stay data.
QString UrlPart(const QString& value);

// "Štampači / Printers": the Serbian label, then the English one marked
// lang="en" for screen readers.  Both are the page's own texts, escaped all the same.
QString Bilingual(const QString& serbian, const QString& english);

// 1234567 as "1 234 567", groups of three split by a narrow no-break space.
QString GroupedNumber(qint64 number);

}  // namespace pralix::desk
