#include "support/qt_core_application.h"

#include <QCoreApplication>

namespace pralix::test {

void EnsureQtCoreApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "pralix_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);  // lives until the process ends
}

}  // namespace pralix::test
