#pragma once
// Copying a file over an existing one.

#include <string>

namespace pralix::win {

// Copies source to target, replacing target when it exists.  False when the
// source is missing or the copy fails; the target is then left as it was
// where the system allows.
bool CopyFileOver(const std::wstring& source, const std::wstring& target);

}  // namespace pralix::win
