#pragma once
// The frame every page of the desk shares: the document head with the
// stylesheet, the bar with the signed-in user and the logout button, and
// the answer that carries it.

#include <QString>

#include "http/http_exchange.h"
#include "http/page_handler.h"

namespace pralix::desk {

// title: plain text ("Štampači / Printers"), escaped here; main: the
// page's content, already HTML.
HttpAnswer HtmlPage(int status, const QString& title, const Viewer& viewer, const QString& main);

// A short page that says what went wrong (404, 503, ...), in both languages.
HttpAnswer MessagePage(int status, const Viewer& viewer, const QString& serbian, const QString& english);

// "2026-12-09", "2026-12-09 08:15": UTC, as the pages show times.
QString DayText(qint64 ms);
QString MinuteText(qint64 ms);

}  // namespace pralix::desk
