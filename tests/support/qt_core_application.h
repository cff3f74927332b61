#pragma once
// QtNetwork needs an application object.  Test programs built on gtest_main
// have none: this makes one on first use, once per process, and leaves an
// existing QCoreApplication or QApplication alone.

namespace pralix::test {

void EnsureQtCoreApplication();

}  // namespace pralix::test
