#pragma once
// Copying a file over an existing one.

#include <string>

namespace pralix::win {

// Copies source to target, replacing target when it exists: the copy is
// written beside the target and renamed over it, so the target is always
// the earlier file or the whole copy.  False when the source is missing or
// the copy fails; the target is then left as it was.
bool CopyFileOver(const std::wstring& source, const std::wstring& target);

}  // namespace pralix::win
