#pragma once
// A tiny test harness for the Windows backends, which run under Wine where
// GoogleTest is not at hand.  A test is a void function registered with
// WIN_TEST; CHECK and CHECK_EQ record a failure and go on, REQUIRE records
// one and leaves the test, SKIP leaves it as skipped.  RunAllTests closes
// with "N passed, N failed, N skipped".

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pralix::wintest {

using TestFunction = void (*)();

struct TestRegistration {
  TestRegistration(const char* name, TestFunction function);
};

void ReportFailure(const char* file, int line, const std::string& what);
void ReportSkip(const std::string& why);
// Runs the tests whose name contains filter (all when it is empty); the
// process exit code: 0 when no test that ran failed.
int RunAllTests(const std::string& filter);

std::string Utf8(const std::wstring& text);

inline std::string Describe(const std::wstring& value) { return "L\"" + Utf8(value) + "\""; }
inline std::string Describe(const std::string& value) { return "\"" + value + "\""; }
inline std::string Describe(const wchar_t* value) { return Describe(std::wstring(value)); }
inline std::string Describe(const char* value) { return Describe(std::string(value)); }
inline std::string Describe(bool value) { return value ? "true" : "false"; }
inline std::string Describe(std::uint64_t value) { return std::to_string(value); }
inline std::string Describe(std::int64_t value) { return std::to_string(value); }
inline std::string Describe(unsigned long value) { return std::to_string(value); }
inline std::string Describe(unsigned value) { return std::to_string(value); }
inline std::string Describe(int value) { return std::to_string(value); }
inline std::string Describe(long value) { return std::to_string(value); }
inline std::string Describe(std::nullopt_t) { return "nothing"; }
template <typename T>
std::string Describe(const std::optional<T>& value) {
  return value ? Describe(*value) : "nothing";
}
template <typename A, typename B>
std::string Describe(const std::pair<A, B>& value) {
  return "(" + Describe(value.first) + ", " + Describe(value.second) + ")";
}
template <typename T>
std::string Describe(const std::vector<T>& values) {
  std::string text = "{";
  for (std::size_t i = 0; i < values.size(); ++i) text += (i ? ", " : "") + Describe(values[i]);
  return text + "}";
}

}  // namespace pralix::wintest

#define WIN_TEST(name)                                                                         \
  static void name();                                                                          \
  static const ::pralix::wintest::TestRegistration name##_registration(#name, name);           \
  static void name()

#define CHECK(condition)                                                                       \
  do {                                                                                         \
    if (!(condition)) ::pralix::wintest::ReportFailure(__FILE__, __LINE__, "CHECK(" #condition ")"); \
  } while (0)

#define REQUIRE(condition)                                                                     \
  do {                                                                                         \
    if (!(condition)) {                                                                        \
      ::pralix::wintest::ReportFailure(__FILE__, __LINE__, "REQUIRE(" #condition ")");         \
      return;                                                                                  \
    }                                                                                          \
  } while (0)

#define SKIP(why)                                                                              \
  do {                                                                                         \
    ::pralix::wintest::ReportSkip(why);                                                        \
    return;                                                                                    \
  } while (0)

#define CHECK_EQ(actual, expected)                                                             \
  do {                                                                                         \
    const auto& actual_value_ = (actual);                                                      \
    const auto& expected_value_ = (expected);                                                  \
    if (!(actual_value_ == expected_value_))                                                   \
      ::pralix::wintest::ReportFailure(__FILE__, __LINE__,                                     \
                                       "CHECK_EQ(" #actual ", " #expected "): got " +          \
                                           ::pralix::wintest::Describe(actual_value_) +        \
                                           ", expected " +                                     \
                                           ::pralix::wintest::Describe(expected_value_));      \
  } while (0)
