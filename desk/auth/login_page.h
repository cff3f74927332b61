#pragma once
// The login form, Serbian and English side by side as the tool's window
// shows its labels.  Plain HTML: no script, no inline style (the desk's
// Content-Security-Policy allows neither).

#include <QByteArray>
#include <QString>

namespace pralix::desk {

// csrfToken and next go into hidden fields; message (may be empty) above the form.
QByteArray LoginPageHtml(const QByteArray& csrfToken, const QString& next, const QString& message);

// next when it is a path on this desk ("/printers/AB1?x=1"), else "/": never
// another site ("//evil", "/\\evil", "https://..."), never a control character.
QString SafeLocalPath(const QString& next);

QString HtmlEscaped(const QString& text);

}  // namespace pralix::desk
