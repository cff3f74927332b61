#include "test_harness.h"

#include <cstdio>

#include "scratch.h"

namespace pralix::wintest {

namespace {

struct RegisteredTest {
  const char* name;
  TestFunction function;
};

std::vector<RegisteredTest>& Registry() {
  static std::vector<RegisteredTest> tests;
  return tests;
}

int failuresInCurrentTest = 0;
bool currentTestSkipped = false;

}  // namespace

TestRegistration::TestRegistration(const char* name, TestFunction function) { Registry().push_back({name, function}); }

void ReportFailure(const char* file, int line, const std::string& what) {
  ++failuresInCurrentTest;
  std::printf("  %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

void ReportSkip(const std::string& why) {
  currentTestSkipped = true;
  std::printf("  skipped: %s\n", why.c_str());
  std::fflush(stdout);
}

std::string Utf8(const std::wstring& text) { return Utf8Bytes(text); }

int RunAllTests(const std::string& filter) {
  int passed = 0;
  int failed = 0;
  int skipped = 0;
  for (const RegisteredTest& test : Registry()) {
    if (std::string(test.name).find(filter) == std::string::npos) continue;
    std::printf("[ RUN    ] %s\n", test.name);
    std::fflush(stdout);
    failuresInCurrentTest = 0;
    currentTestSkipped = false;
    test.function();
    if (failuresInCurrentTest == 0 && currentTestSkipped) {
      ++skipped;
      std::printf("[ SKIPPED] %s\n", test.name);
    } else if (failuresInCurrentTest == 0) {
      ++passed;
      std::printf("[     OK ] %s\n", test.name);
    } else {
      ++failed;
      std::printf("[ FAILED ] %s\n", test.name);
    }
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}

}  // namespace pralix::wintest
