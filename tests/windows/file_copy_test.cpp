// Copying a file over an existing one.

#include "platform/win/win_file_copy.h"
#include "scratch.h"
#include "test_harness.h"

namespace pralix::wintest {

WIN_TEST(FileCopyReplacesAnExistingLongerTarget) {
  ScratchFolder folder(L"CopyOver");
  REQUIRE(WriteFileBytes(folder.file(L"Version.ini"), "[Ver]\r\nLink=10.2.5\r\n"));
  REQUIRE(WriteFileBytes(folder.file(L"Pralix2_log.txt"), "an older copy that is much longer than the new one\r\n"));

  CHECK(win::CopyFileOver(folder.file(L"Version.ini"), folder.file(L"Pralix2_log.txt")));
  CHECK_EQ(ReadFileBytes(folder.file(L"Pralix2_log.txt")), std::string("[Ver]\r\nLink=10.2.5\r\n"));
  CHECK_EQ(ReadFileBytes(folder.file(L"Version.ini")), std::string("[Ver]\r\nLink=10.2.5\r\n"));
}

WIN_TEST(FileCopyCreatesAMissingTarget) {
  ScratchFolder folder(L"CopyNew");
  REQUIRE(WriteFileBytes(folder.file(L"source.ini"), std::string("a\0b", 3)));
  CHECK(win::CopyFileOver(folder.file(L"source.ini"), folder.file(L"target.txt")));
  CHECK_EQ(ReadFileBytes(folder.file(L"target.txt")), std::string("a\0b", 3));
}

WIN_TEST(FileCopyOfMissingSourceFailsAndLeavesTheTarget) {
  ScratchFolder folder(L"CopyMissing");
  REQUIRE(WriteFileBytes(folder.file(L"target.txt"), "kept"));
  CHECK(!win::CopyFileOver(folder.file(L"missing.ini"), folder.file(L"target.txt")));
  CHECK_EQ(ReadFileBytes(folder.file(L"target.txt")), std::string("kept"));
  CHECK(!win::CopyFileOver(folder.file(L"missing.ini"), folder.file(L"absent.txt")));
  CHECK_EQ(GetFileAttributesW(folder.file(L"absent.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace pralix::wintest
