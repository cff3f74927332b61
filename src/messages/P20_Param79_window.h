#pragma once
// The period dialog of the periodic report: a From and a To date, both today
// on every show; OK only with From not after To and both within the
// printer's years, Esc or the title bar's close button cancel.

#include <QDateEdit>
#include <QDialog>
#include <QLabel>

#include "messages/P20_Param79.h"
#include "messages/click_panel_window.h"
#include "interfaces/clock.h"

namespace pralix {

class TFormParam79 final : public QDialog {
 public:
  // Modal results.
  static constexpr int mrOk = 1;
  static constexpr int mrCancel = 2;

  static constexpr const char* kInvertedRangeMessage = kInvertedPeriodMessage;

  // clock gives "today" for the pickers.
  explicit TFormParam79(const Clock& clock, QWidget* parent = nullptr);

  // Shows the dialog modally; mrOk or mrCancel.  The dates stay in the
  // pickers afterwards.
  int ShowModal() { return exec(); }

  QLabel* Label3;
  QLabel* Label1;
  QDateEdit* DTPFrom;
  QLabel* Label2;
  QDateEdit* DTPTo;
  ClickPanel* Panel1;

  // OK: closes with mrOk when the period is accepted (JudgePeriod), else
  // shows the reason and stays open.
  void accept() override;
  // Cancel: Esc and the title bar's close button end here.
  void reject() override { done(mrCancel); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const Clock& clock_;
};

}  // namespace pralix
