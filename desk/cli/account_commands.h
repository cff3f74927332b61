#pragma once
// "user" and "token": the people who sign in and the API's tokens.  Exit
// status 0 done; 1 refused (a name taken or unknown, a password too short)
// or the database failed; 2 a usage error.

#include <QProcessEnvironment>

#include "auth/password_hasher.h"
#include "auth/random_source.h"
#include "cli/desk_commands.h"
#include "cli/password_input.h"

namespace pralix::desk {

int RunUser(const DeskOptions& options, const QProcessEnvironment& environment, Console console,
            PasswordInput& input, PasswordHasher& hasher);
int RunToken(const DeskOptions& options, const QProcessEnvironment& environment, Console console,
             RandomSource& random);

}  // namespace pralix::desk
