#pragma once
// The window keeps the page of its last test that found the printer beside
// the diagnostic logs, for the technician to open, print or send on.

#include <QString>

#include "messages/dialog_journal.h"
#include "interfaces/clock.h"
#include "workstation/test_observer.h"

namespace pralix {

inline constexpr char kLastTestPageName[] = "Pralix_last_test.html";

class LastTestPageKeeper final : public TestObserver {
 public:
  // journal: the user interface the test shows its dialogs through.
  LastTestPageKeeper(DialogJournal& journal, const Clock& clock, QString directory, QString toolVersion)
      : journal_(journal), clock_(clock), directory_(std::move(directory)), toolVersion_(std::move(toolVersion)) {}

  void TestStarted() override { journal_.clear(); }
  // Replaces the page whole; when it cannot be written an earlier page stays
  // as it was and the test is not disturbed.
  void TestFoundPrinter(const MainFields& fields) override;

  QString pagePath() const;

 private:
  DialogJournal& journal_;
  const Clock& clock_;
  QString directory_;
  QString toolVersion_;
};

}  // namespace pralix
