#pragma once
// Tests of unreadable or write-protected files must also hold when they run
// as root (CI does), whom file permissions do not stop.  While one of these
// lives, the calling thread reaches files as user and group "nobody"
// (Linux file-system ids), so permission bits apply again; for anyone else
// it changes nothing.  Set the permission bits before, as the owner.

namespace pralix::test {

class UnprivilegedFileAccess {
 public:
  UnprivilegedFileAccess();
  ~UnprivilegedFileAccess();
  UnprivilegedFileAccess(const UnprivilegedFileAccess&) = delete;
  UnprivilegedFileAccess& operator=(const UnprivilegedFileAccess&) = delete;

 private:
  bool switched_ = false;
};

}  // namespace pralix::test
