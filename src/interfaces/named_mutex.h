#pragma once
// A named system mutex that other programs of the same user can see; the
// important-message dialog holds one while it is on screen.

#include <memory>
#include <string>

namespace pralix {

class NamedMutex {
 public:
  virtual ~NamedMutex() = default;

  // Creates the named mutex, or opens it when it exists, asking for
  // ownership.  Returns false when it could not be created; the caller goes
  // on without it.  Nobody waits on it: when another process owns it, it is
  // merely opened.
  virtual bool create(const std::string& name) = 0;
  // Releases ownership, if held, and closes the handle; nothing when no
  // handle is open.  Once the last handle is gone the name no longer exists.
  virtual void close() = 0;
};

// The platform's implementation, chosen at compile time.
std::unique_ptr<NamedMutex> CreateSystemNamedMutex();

}  // namespace pralix
