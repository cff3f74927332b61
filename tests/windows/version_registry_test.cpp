// The version values reader against a CurrentVersion-like key of the
// test's own, under HKEY_CURRENT_USER, and once against the system's key.

#include <gtest/gtest.h>

#include "platform/win/win_version_registry.h"
#include "scratch.h"

namespace pralix::wintest {

namespace {

constexpr wchar_t kMajor[] = L"CurrentMajorVersionNumber";
constexpr wchar_t kMinor[] = L"CurrentMinorVersionNumber";
constexpr wchar_t kVersion[] = L"CurrentVersion";

std::optional<std::uint32_t> Dword(const ScratchRegistryKey& key, const wchar_t* name) {
  return win::ReadVersionDword(HKEY_CURRENT_USER, key.path(), name);
}

std::optional<std::wstring> String(const ScratchRegistryKey& key, const wchar_t* name) {
  return win::ReadVersionString(HKEY_CURRENT_USER, key.path(), name);
}

}  // namespace

TEST(Version, BothIntegersPresentAreRead) {
  ScratchRegistryKey key(L"VersionIntegers");
  ASSERT_TRUE(key.isOpen());
  key.setDword(kMajor, 10);
  key.setDword(kMinor, 0);  // a zero is a value, not a missing one
  key.setString(kVersion, L"6.3");

  EXPECT_EQ(Dword(key, kMajor), std::optional<std::uint32_t>(10));
  EXPECT_EQ(Dword(key, kMinor), std::optional<std::uint32_t>(0));
  EXPECT_EQ(String(key, kVersion), std::optional<std::wstring>(L"6.3"));
}

TEST(Version, IntegersMissingLeaveTheStringToFallBackOn) {
  ScratchRegistryKey key(L"VersionOlderSystem");
  ASSERT_TRUE(key.isOpen());
  key.setDword(kMajor, 6);  // the minor one is missing: the pair fails
  key.setString(kVersion, L"6.1");

  EXPECT_EQ(Dword(key, kMajor), std::optional<std::uint32_t>(6));
  EXPECT_EQ(Dword(key, kMinor), std::nullopt);
  EXPECT_EQ(String(key, kVersion), std::optional<std::wstring>(L"6.1"));
}

TEST(Version, AllValuesMissingGiveNothing) {
  ScratchRegistryKey key(L"VersionNothing");
  ASSERT_TRUE(key.isOpen());
  EXPECT_EQ(Dword(key, kMajor), std::nullopt);
  EXPECT_EQ(Dword(key, kMinor), std::nullopt);
  EXPECT_EQ(String(key, kVersion), std::nullopt);

  const std::wstring missingKey = L"Software\\PralixWinTests\\NoSuchKey";
  EXPECT_EQ(win::ReadVersionDword(HKEY_CURRENT_USER, missingKey, kMajor), std::nullopt);
  EXPECT_EQ(win::ReadVersionString(HKEY_CURRENT_USER, missingKey, kVersion), std::nullopt);
}

TEST(Version, ValuesOfTheWrongTypeAreNotRead) {
  ScratchRegistryKey key(L"VersionWrongTypes");
  ASSERT_TRUE(key.isOpen());
  key.setString(L"IntegerAsText", L"10");
  key.setRaw(L"IntegerAsQword", REG_QWORD, {10, 0, 0, 0, 0, 0, 0, 0});
  key.setRaw(L"IntegerAsBinary", REG_BINARY, {10, 0, 0, 0});
  key.setRaw(L"ShortDword", REG_DWORD, {10, 0});
  key.setDword(L"TextAsInteger", 61);
  key.setRaw(L"TextWithoutZero", REG_SZ, {'6', 0, '.', 0, '1', 0});
  key.setString(L"ExpandText", L"%Version%", REG_EXPAND_SZ);
  key.setString(L"EmptyText", L"");

  const std::pair<const wchar_t*, std::optional<std::uint32_t>> integers[] = {
      {L"IntegerAsText", std::nullopt},   {L"IntegerAsQword", std::nullopt}, {L"IntegerAsBinary", std::nullopt},
      {L"ShortDword", std::nullopt},      {L"TextAsInteger", 61},
  };
  for (const auto& [name, expected] : integers) EXPECT_EQ(Dword(key, name), expected);

  const std::pair<const wchar_t*, std::optional<std::wstring>> strings[] = {
      {L"TextAsInteger", std::nullopt},
      {L"IntegerAsBinary", std::nullopt},
      {L"TextWithoutZero", L"6.1"},
      {L"ExpandText", L"%Version%"},
      {L"EmptyText", L""},
  };
  for (const auto& [name, expected] : strings) EXPECT_EQ(String(key, name), expected);
}

TEST(Version, SystemKeyIsReadUnderLocalMachine) {
  // Every Windows (and Wine) has the older version string.
  const std::optional<std::wstring> version =
      win::ReadVersionString(HKEY_LOCAL_MACHINE, win::kCurrentVersionKeyPath, kVersion);
  ASSERT_TRUE(version.has_value());
  EXPECT_FALSE(version->empty());
}

}  // namespace pralix::wintest
