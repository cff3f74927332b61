#pragma once
// Told when "1. Test" begins and when it has found the printer, for what
// keeps a record of the test beside the window (the last test's page).

#include "workstation/main_fields.h"

namespace pralix {

class TestObserver {
 public:
  virtual ~TestObserver() = default;
  virtual void TestStarted() = 0;
  // After a test that found the printer: fields judged, logs written, the
  // DiagData record posted and the port closed.
  virtual void TestFoundPrinter(const MainFields& fields) = 0;
};

}  // namespace pralix
