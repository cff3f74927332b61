// The local application-data folder and the outbox under it.

#include <gtest/gtest.h>

#include "platform/win/win_api.h"
#include "platform/win/win_local_app_data.h"

namespace pralix::wintest {

TEST(LocalAppData, IsAnExistingFolderWithoutTrailingBackslash) {
  const std::wstring folder = win::LocalAppDataFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'\\');
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(LocalAppData, OutboxFolderIsPralixOutboxBelowIt) {
  EXPECT_EQ(win::OutboxFolderUnder(L"C:\\Users\\kasa\\AppData\\Local"), L"C:\\Users\\kasa\\AppData\\Local\\Pralix\\outbox");
  EXPECT_EQ(win::OutboxFolderUnder(L"D:\\"), L"D:\\Pralix\\outbox");
  EXPECT_EQ(win::OutboxFolderUnder(L""), L"");
}

}  // namespace pralix::wintest
