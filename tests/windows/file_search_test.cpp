// The folder search with attributes, on entries whose attributes were set
// with SetFileAttributesW.

#include <algorithm>
#include <tuple>

#include "platform/win/win_file_search.h"
#include "scratch.h"
#include "test_harness.h"

namespace pralix::wintest {

namespace {

// name, directory, hidden, system
using Found = std::tuple<std::wstring, bool, bool, bool>;

std::string Describe(const Found& found) {
  const auto& [name, directory, hidden, system] = found;
  return "(" + Utf8(name) + (directory ? " dir" : "") + (hidden ? " hidden" : "") + (system ? " system" : "") + ")";
}

// Sorted by name: the search gives no order of its own.
std::vector<Found> Search(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<Found> found;
  for (const win::FoundEntry& e : win::FindEntries(folder, pattern))
    found.emplace_back(e.name, e.directory, e.hidden, e.system);
  std::sort(found.begin(), found.end());
  return found;
}

std::string DescribeAll(const std::vector<Found>& all) {
  std::string text;
  for (const Found& found : all) text += Describe(found);
  return text;
}

}  // namespace

WIN_TEST(FileSearchReportsDirectoryHiddenAndSystemEntries) {
  ScratchFolder folder(L"Outbox");
  REQUIRE(WriteFileBytes(folder.file(L"plain.jxx"), "p"));
  REQUIRE(WriteFileBytes(folder.file(L"hidden.jxx"), "h"));
  REQUIRE(WriteFileBytes(folder.file(L"system.jxx"), "s"));
  REQUIRE(WriteFileBytes(folder.file(L"both.jxx"), "b"));
  REQUIRE(WriteFileBytes(folder.file(L"other.txt"), "o"));
  REQUIRE(CreateDirectoryW(folder.file(L"dir.jxx").c_str(), nullptr));
  REQUIRE(SetFileAttributesW(folder.file(L"hidden.jxx").c_str(), FILE_ATTRIBUTE_HIDDEN));
  REQUIRE(SetFileAttributesW(folder.file(L"system.jxx").c_str(), FILE_ATTRIBUTE_SYSTEM));
  REQUIRE(SetFileAttributesW(folder.file(L"both.jxx").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

  const std::vector<Found> expected = {
      {L"both.jxx", false, true, true}, {L"dir.jxx", true, false, false},  {L"hidden.jxx", false, true, false},
      {L"plain.jxx", false, false, false}, {L"system.jxx", false, false, true},
  };
  const std::vector<Found> found = Search(folder.path(), L"*.jxx");
  if (found != expected) ReportFailure(__FILE__, __LINE__, "found " + DescribeAll(found) + ", expected " + DescribeAll(expected));
}

WIN_TEST(FileSearchOfEveryEntryLeavesOutDotEntries) {
  ScratchFolder folder(L"DotEntries");
  REQUIRE(WriteFileBytes(folder.file(L"a.jxx"), "a"));
  REQUIRE(CreateDirectoryW(folder.file(L"sub").c_str(), nullptr));
  const std::vector<Found> expected = {{L"a.jxx", false, false, false}, {L"sub", true, false, false}};
  const std::vector<Found> found = Search(folder.path(), L"*");
  if (found != expected) ReportFailure(__FILE__, __LINE__, "found " + DescribeAll(found) + ", expected " + DescribeAll(expected));
}

WIN_TEST(FileSearchOfMissingFolderOrNoMatchIsEmpty) {
  ScratchFolder folder(L"NoMatch");
  REQUIRE(WriteFileBytes(folder.file(L"note.txt"), "n"));
  CHECK(Search(folder.path(), L"*.jxx").empty());
  CHECK(Search(folder.file(L"missing"), L"*.jxx").empty());
}

}  // namespace pralix::wintest
