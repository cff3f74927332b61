#include "workstation/qt_user_interface_window.h"

#include <QCoreApplication>
#include <QThread>

#include "messages/message_box_window.h"
#include "workstation/TFormMainPralix_window.h"

namespace pralix {

void QtUserInterface::showImportantMessage(const QString& caption, const QString& text) {
  formYellowMsg_.ShowModal(caption, text);
}

void QtUserInterface::showInformation(const QString& text) { ShowInformationBox(mainWindow_, text); }

void QtUserInterface::showError(const QString& text) { ShowErrorBox(mainWindow_, text); }

bool QtUserInterface::askPeriod(QDate* from, QDate* to) {
  if (formParam79_.ShowModal() != TFormParam79::mrOk) return false;
  *from = formParam79_.DTPFrom->date();
  *to = formParam79_.DTPTo->date();
  return true;
}

void QtUserInterface::requestQuit() {
  quitRequested_ = true;
  // QCoreApplication::quit() does nothing while no event loop runs.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::quit();
}

void QtUserInterface::repaintMainWindow() {
  if (mainWindow_ == nullptr) return;
  mainWindow_->refreshFromFields();
  mainWindow_->repaint();
}

void QtUserInterface::closeMainWindow() {
  if (mainWindow_ != nullptr) mainWindow_->close();
}

}  // namespace pralix
