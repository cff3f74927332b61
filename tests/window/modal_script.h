#pragma once
// Answers the modal dialogs that come up while a test drives a window: each
// appearance of a modal widget is recorded and answered by the next scripted
// action.  A modal that comes back (the period dialog after its message box)
// counts as a new appearance.  Appearances without an action left are
// recorded as unexpected and closed, so that a failing test cannot hang.

#include <QDate>
#include <QMessageBox>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

namespace pralix::test {

struct ShownModal {
  QString className;  // "QMessageBox", "TFormYellowMsg", "TFormParam79"
  QString title;
  QString text;       // the message box's text, or the important message's label
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QSize clientSize;
  // The important message's layout.
  QRect labelGeometry;
  QRect groupBoxGeometry;
  QRect buttonGeometry;
};

class ModalScript {
 public:
  using Action = std::function<void(QWidget* modal)>;

  ModalScript();
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  // The answer to the next appearance.
  ModalScript& then(Action action);

  // Ready-made answers.
  static Action PressKey(Qt::Key key);  // to the modal's focus widget
  static Action ClickOk();       // the message box's OK, the important message's Button1, the period's Panel1
  static Action CloseByTitleBar();
  // Sets the period dialog's dates, then presses Enter.
  static Action EnterPeriod(QDate from, QDate to);

  const std::vector<ShownModal>& shown() const { return shown_; }
  int unexpected() const { return unexpected_; }
  bool allActionsUsed() const { return actions_.empty(); }

 private:
  void Poll();

  QTimer timer_;
  std::deque<Action> actions_;
  std::vector<ShownModal> shown_;
  QPointer<QWidget> current_;
  int unexpected_ = 0;
};

}  // namespace pralix::test
