// On Linux a program started from a terminal already writes to it.

#include "interfaces/console.h"

namespace pralix {

void UseParentConsole() {}

}  // namespace pralix
