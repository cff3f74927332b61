#include "auth/account_rules.h"

#include <QList>

namespace pralix::desk {

QString NameProblem(const QString& name) {
  if (name.isEmpty()) return QStringLiteral("the name is empty");
  if (name.size() > kMaxNameLength) return QStringLiteral("the name is longer than %1 characters").arg(kMaxNameLength);
  for (const QChar c : name)
    if (!c.isLetterOrNumber() && c != u'.' && c != u'_' && c != u'-' && c != u'@')
      return QStringLiteral("the name may hold letters, digits and . _ - @ only");
  return QString();
}

QString PasswordProblem(const QString& password) {
  if (password.isEmpty()) return QStringLiteral("the password is empty");
  const qsizetype length = password.toUcs4().size();  // code points, not UTF-16 units
  if (length < kMinPasswordLength)
    return QStringLiteral("the password is shorter than %1 characters").arg(kMinPasswordLength);
  if (length > kMaxPasswordLength)
    return QStringLiteral("the password is longer than %1 characters").arg(kMaxPasswordLength);
  for (const QChar c : password)
    if (c.category() == QChar::Other_Control) return QStringLiteral("the password holds a control character");
  return QString();
}

}  // namespace pralix::desk
