#pragma once
// A NamedMutex that only remembers: which names were created, whether one is
// held now, and how often it was closed.  It can be told to fail creation.

#include <string>
#include <vector>

#include "interfaces/named_mutex.h"

namespace pralix::test {

class RecordingMutex : public NamedMutex {
 public:
  bool create(const std::string& name) override {
    created.push_back(name);
    if (failCreate) return false;
    held = true;
    return true;
  }
  void close() override {
    ++closes;
    held = false;
  }

  bool failCreate = false;
  bool held = false;
  int closes = 0;
  std::vector<std::string> created;
};

}  // namespace pralix::test
