// The Windows backends' tests, cross-compiled and run under Wine.  The run
// ends with GoogleTest's summary and one plain "N passed, N failed,
// N skipped" line, which scripts read.

#include <gtest/gtest.h>

#include <cstdio>

#include "child_program.h"

namespace {

class CountingListener final : public testing::EmptyTestEventListener {
 public:
  void OnTestProgramEnd(const testing::UnitTest& unit) override {
    std::printf("%d passed, %d failed, %d skipped\n", unit.successful_test_count(), unit.failed_test_count(),
                unit.skipped_test_count());
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  // A copy of this program started by the process tests plays its part and ends.
  const int childExit = pralix::wintest::RunAsChildIfAsked(argc, argv);
  if (childExit >= 0) return childExit;
  testing::InitGoogleTest(&argc, argv);
  // Appended: GoogleTest's own summary comes first.
  testing::UnitTest::GetInstance()->listeners().Append(new CountingListener);
  return RUN_ALL_TESTS();
}
