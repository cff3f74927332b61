#pragma once
// A signed-in session on a running pralix-desk, had as a person has it: the
// user added through the real "pralix-desk user add", the login form fetched
// and posted over loopback.

#include <QByteArray>
#include <QString>

#include "support/raw_http.h"

namespace pralix::desk::test {

// The pralix_desk_session cookie's value, or empty when the user could not
// be added or the login was refused.
QByteArray SignIn(quint16 port, const QString& databaseUrl, const QByteArray& user = "ana");

// The headers that carry a session.
Headers SessionCookie(const QByteArray& session);

}  // namespace pralix::desk::test
