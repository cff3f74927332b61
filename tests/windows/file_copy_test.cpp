// Copying a file over an existing one.

#include <gtest/gtest.h>

#include "platform/win/win_file_copy.h"
#include "scratch.h"

namespace pralix::wintest {

TEST(FileCopy, ReplacesAnExistingLongerTarget) {
  ScratchFolder folder(L"CopyOver");
  ASSERT_TRUE(WriteFileBytes(folder.file(L"Version.ini"), "[Ver]\r\nLink=10.2.5\r\n"));
  ASSERT_TRUE(WriteFileBytes(folder.file(L"Pralix2_log.txt"), "an older copy that is much longer than the new one\r\n"));

  EXPECT_TRUE(win::CopyFileOver(folder.file(L"Version.ini"), folder.file(L"Pralix2_log.txt")));
  EXPECT_EQ(ReadFileBytes(folder.file(L"Pralix2_log.txt")), std::string("[Ver]\r\nLink=10.2.5\r\n"));
  EXPECT_EQ(ReadFileBytes(folder.file(L"Version.ini")), std::string("[Ver]\r\nLink=10.2.5\r\n"));
}

TEST(FileCopy, CreatesAMissingTarget) {
  ScratchFolder folder(L"CopyNew");
  ASSERT_TRUE(WriteFileBytes(folder.file(L"source.ini"), std::string("a\0b", 3)));
  EXPECT_TRUE(win::CopyFileOver(folder.file(L"source.ini"), folder.file(L"target.txt")));
  EXPECT_EQ(ReadFileBytes(folder.file(L"target.txt")), std::string("a\0b", 3));
}

TEST(FileCopy, OfMissingSourceFailsAndLeavesTheTarget) {
  ScratchFolder folder(L"CopyMissing");
  ASSERT_TRUE(WriteFileBytes(folder.file(L"target.txt"), "kept"));
  EXPECT_FALSE(win::CopyFileOver(folder.file(L"missing.ini"), folder.file(L"target.txt")));
  EXPECT_EQ(ReadFileBytes(folder.file(L"target.txt")), std::string("kept"));
  EXPECT_FALSE(win::CopyFileOver(folder.file(L"missing.ini"), folder.file(L"absent.txt")));
  EXPECT_EQ(GetFileAttributesW(folder.file(L"absent.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileCopy, LeavesNoPartialCopyBehind) {
  ScratchFolder folder(L"CopyPartial");
  ASSERT_TRUE(WriteFileBytes(folder.file(L"Version.ini"), "[Ver]\r\n"));
  ASSERT_TRUE(WriteFileBytes(folder.file(L"Pralix3_log.txt"), "old"));
  EXPECT_TRUE(win::CopyFileOver(folder.file(L"Version.ini"), folder.file(L"Pralix3_log.txt")));
  EXPECT_EQ(GetFileAttributesW(folder.file(L"Pralix3_log.txt.partial").c_str()), INVALID_FILE_ATTRIBUTES);
  // A target that cannot be replaced (a folder of that name) keeps its place,
  // and the copy made for it is removed again.
  ASSERT_TRUE(CreateDirectoryW(folder.file(L"held").c_str(), nullptr));
  EXPECT_FALSE(win::CopyFileOver(folder.file(L"Version.ini"), folder.file(L"held")));
  EXPECT_NE(GetFileAttributesW(folder.file(L"held").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(GetFileAttributesW(folder.file(L"held.partial").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace pralix::wintest
