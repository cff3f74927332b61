#pragma once
// Passes every call on to the real user interface and keeps the message
// dialogs it showed, in order, so that a test's record can list them.

#include <QList>

#include "messages/shown_dialog.h"
#include "messages/user_interface.h"

namespace pralix {

class DialogJournal final : public UserInterface {
 public:
  // The captions are those the inner interface gives its information and
  // error boxes.
  DialogJournal(UserInterface& inner, QString informationCaption, QString errorCaption)
      : inner_(inner), informationCaption_(std::move(informationCaption)), errorCaption_(std::move(errorCaption)) {}

  void showImportantMessage(const QString& caption, const QString& text) override;
  void showInformation(const QString& text) override;
  void showError(const QString& text) override;
  bool askPeriod(QDate* from, QDate* to) override { return inner_.askPeriod(from, to); }
  void requestQuit() override { inner_.requestQuit(); }
  void repaintMainWindow() override { inner_.repaintMainWindow(); }
  void closeMainWindow() override { inner_.closeMainWindow(); }

  const QList<ShownDialog>& dialogs() const { return dialogs_; }
  void clear() { dialogs_.clear(); }

 private:
  UserInterface& inner_;
  QString informationCaption_;
  QString errorCaption_;
  QList<ShownDialog> dialogs_;
};

}  // namespace pralix
