#pragma once
// Wildcard search of a folder with the entries' attributes.

#include <string>
#include <vector>

namespace pralix::win {

struct FoundEntry {
  std::wstring name;
  bool directory = false;
  bool hidden = false;
  bool system = false;
};

// Every entry of `folder` matching `pattern` ("*.jxx"), of any kind; empty
// when the folder is missing.
std::vector<FoundEntry> FindEntries(const std::wstring& folder, const std::wstring& pattern);

}  // namespace pralix::win
