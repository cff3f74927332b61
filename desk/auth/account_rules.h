#pragma once
// What the desk takes as a user's or a token's name and as a password.

#include <QString>

namespace pralix::desk {

inline constexpr int kMinPasswordLength = 10;
// Argon2id takes any length; a bound keeps a pasted file out.
inline constexpr int kMaxPasswordLength = 1024;
inline constexpr int kMaxNameLength = 64;

// Empty when the name will do: 1 to 64 characters, letters, digits and . _ - @.
QString NameProblem(const QString& name);
// Empty when the password will do: 10 to 1024 characters, counted as
// Unicode code points, no control character.
QString PasswordProblem(const QString& password);

}  // namespace pralix::desk
