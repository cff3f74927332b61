// The Windows backends' tests, cross-compiled and run under Wine.

#include "child_program.h"
#include "test_harness.h"

int main(int argc, char** argv) {
  const int childExit = pralix::wintest::RunAsChildIfAsked(argc, argv);
  if (childExit >= 0) return childExit;
  return pralix::wintest::RunAllTests();
}
