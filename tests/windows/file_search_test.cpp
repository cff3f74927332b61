// The folder search with attributes, on entries whose attributes were set
// with SetFileAttributesW.

#include <algorithm>
#include <tuple>
#include <gtest/gtest.h>

#include "platform/win/win_file_search.h"
#include "scratch.h"

namespace pralix::wintest {

namespace {

// name, directory, hidden, system
using Found = std::tuple<std::wstring, bool, bool, bool>;

// Sorted by name: the search gives no order of its own.
std::vector<Found> Search(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<Found> found;
  for (const win::FoundEntry& e : win::FindEntries(folder, pattern))
    found.emplace_back(e.name, e.directory, e.hidden, e.system);
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

TEST(FileSearch, ReportsDirectoryHiddenAndSystemEntries) {
  ScratchFolder folder(L"Outbox");
  ASSERT_TRUE(WriteFileBytes(folder.file(L"plain.jxx"), "p"));
  ASSERT_TRUE(WriteFileBytes(folder.file(L"hidden.jxx"), "h"));
  ASSERT_TRUE(WriteFileBytes(folder.file(L"system.jxx"), "s"));
  ASSERT_TRUE(WriteFileBytes(folder.file(L"both.jxx"), "b"));
  ASSERT_TRUE(WriteFileBytes(folder.file(L"other.txt"), "o"));
  ASSERT_TRUE(CreateDirectoryW(folder.file(L"dir.jxx").c_str(), nullptr));
  ASSERT_TRUE(SetFileAttributesW(folder.file(L"hidden.jxx").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesW(folder.file(L"system.jxx").c_str(), FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(SetFileAttributesW(folder.file(L"both.jxx").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

  const std::vector<Found> expected = {
      {L"both.jxx", false, true, true}, {L"dir.jxx", true, false, false},  {L"hidden.jxx", false, true, false},
      {L"plain.jxx", false, false, false}, {L"system.jxx", false, false, true},
  };
  const std::vector<Found> found = Search(folder.path(), L"*.jxx");
  EXPECT_EQ(found, expected);
}

TEST(FileSearch, OfEveryEntryLeavesOutDotEntries) {
  ScratchFolder folder(L"DotEntries");
  ASSERT_TRUE(WriteFileBytes(folder.file(L"a.jxx"), "a"));
  ASSERT_TRUE(CreateDirectoryW(folder.file(L"sub").c_str(), nullptr));
  const std::vector<Found> expected = {{L"a.jxx", false, false, false}, {L"sub", true, false, false}};
  const std::vector<Found> found = Search(folder.path(), L"*");
  EXPECT_EQ(found, expected);
}

TEST(FileSearch, OfMissingFolderOrNoMatchIsEmpty) {
  ScratchFolder folder(L"NoMatch");
  ASSERT_TRUE(WriteFileBytes(folder.file(L"note.txt"), "n"));
  EXPECT_TRUE(Search(folder.path(), L"*.jxx").empty());
  EXPECT_TRUE(Search(folder.file(L"missing"), L"*.jxx").empty());
}

}  // namespace pralix::wintest
