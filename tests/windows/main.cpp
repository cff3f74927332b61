// The Windows backends' tests, cross-compiled and run under Wine.  An
// argument runs only the tests whose name contains it.

#include "child_program.h"
#include "test_harness.h"

int main(int argc, char** argv) {
  const int childExit = pralix::wintest::RunAsChildIfAsked(argc, argv);
  if (childExit >= 0) return childExit;
  return pralix::wintest::RunAllTests(argc > 1 ? argv[1] : "");
}
