#pragma once
// What the logic needs from the user: the Qt windows implement it, tests use a
// recording fake, the headless command line prints to the console.

#include <QDate>
#include <QString>

namespace pralix {

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // The important-message dialog: modal; returns once the user closed it.
  virtual void showImportantMessage(const QString& caption, const QString& text) = 0;
  // An information message box with one OK button; returns once dismissed.
  virtual void showInformation(const QString& text) = 0;
  // The toolkit's standard error box, for errors an action does not handle.
  virtual void showError(const QString& text) = 0;
  // The period dialog: true with the chosen dates on OK, false on Cancel.
  virtual bool askPeriod(QDate* from, QDate* to) = 0;
  // Asks the application to quit once control returns to its event loop.
  virtual void requestQuit() = 0;
  // Repaints the main window at once, while an action keeps the thread busy.
  virtual void repaintMainWindow() = 0;
  // Closes the main window, which ends the program (Esc and '0').
  virtual void closeMainWindow() { requestQuit(); }
};

}  // namespace pralix
