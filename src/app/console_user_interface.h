#pragma once
// The user interface of the headless commands: every dialog goes to standard
// error with its caption, as the user would have seen it, and is recorded.

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

#include "messages/shown_dialog.h"
#include "messages/user_interface.h"

namespace pralix {

class ConsoleUserInterface final : public UserInterface {
 public:
  // paperWaitSeconds: how long the paper request waits before the command is
  // repeated when standard input is not a terminal.
  explicit ConsoleUserInterface(int paperWaitSeconds = 5) : paperWaitSeconds_(paperWaitSeconds) {}

  void showImportantMessage(const QString& caption, const QString& text) override;
  void showInformation(const QString& text) override;
  void showError(const QString& text) override;
  bool askPeriod(QDate* from, QDate* to) override;
  void requestQuit() override { quitRequested_ = true; }
  void repaintMainWindow() override {}
  void closeMainWindow() override {}

  // The range that askPeriod answers with; without one it answers Cancel.
  void setPeriod(const QDate& from, const QDate& to) { period_ = {{from, to}}; }

  const QList<ShownDialog>& dialogs() const { return dialogs_; }
  bool quitRequested() const { return quitRequested_; }
  int errorCount() const { return errors_; }

  static inline const QString kInformationCaption = QStringLiteral("Pralix");
  static inline const QString kErrorCaption = QStringLiteral("Pralix - Error");

 private:
  void show(const QString& caption, const QString& text);

  int paperWaitSeconds_;
  std::optional<std::pair<QDate, QDate>> period_;
  QList<ShownDialog> dialogs_;
  bool quitRequested_ = false;
  int errors_ = 0;
};

}  // namespace pralix
