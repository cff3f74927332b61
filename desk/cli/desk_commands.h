#pragma once
// The sub-commands.  Each returns the exit status: 0 done, 1 the database or
// the address failed (a one-line message on standard error), 2 usage error.

#include <QProcessEnvironment>
#include <QTextStream>

#include "cli/desk_command_line.h"

namespace pralix::desk {

struct Console {
  QTextStream& out;
  QTextStream& err;
};

// Runs until SIGTERM or SIGINT, then stops taking connections, answers the
// requests it has and exits 0.  The first line on out is
// "listening on http://HOST:PORT" once connections are taken.
int RunServe(const DeskOptions& options, const QProcessEnvironment& environment, Console console);
int RunPrinters(const DeskOptions& options, const QProcessEnvironment& environment, Console console);
// Exit 1 with an empty list (or a message) when the printer is not known.
int RunRecords(const DeskOptions& options, const QProcessEnvironment& environment, Console console);

}  // namespace pralix::desk
