#include "test_harness.h"

#include <cstdio>

#include "platform/win/win_api.h"

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

}  // namespace

TestRegistration::TestRegistration(const char* name, TestFunction function) { Registry().push_back({name, function}); }

void ReportFailure(const char* file, int line, const std::string& what) {
  ++failuresInCurrentTest;
  std::printf("  %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

int RunAllTests() {
  int passed = 0;
  int failed = 0;
  for (const RegisteredTest& test : Registry()) {
    std::printf("[ RUN    ] %s\n", test.name);
    std::fflush(stdout);
    failuresInCurrentTest = 0;
    test.function();
    if (failuresInCurrentTest == 0) {
      ++passed;
      std::printf("[     OK ] %s\n", test.name);
    } else {
      ++failed;
      std::printf("[ FAILED ] %s\n", test.name);
    }
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}

}  // namespace pralix::wintest
