#pragma once
// The user interface on Qt Widgets: the important-message dialog, message
// boxes, the period dialog, the quit request and the main window's repaint.

#include "messages/P00_YellowMsg_window.h"
#include "messages/P20_Param79_window.h"
#include "messages/user_interface.h"

namespace pralix {

class TFormMainPralix;

class QtUserInterface final : public UserInterface {
 public:
  QtUserInterface(TFormYellowMsg& formYellowMsg, TFormParam79& formParam79)
      : formYellowMsg_(formYellowMsg), formParam79_(formParam79) {}

  // The main window exists after the logic it shows; until it is set,
  // repaints do nothing and message boxes have no owner.
  void setMainWindow(TFormMainPralix* mainWindow) { mainWindow_ = mainWindow; }

  void showImportantMessage(const QString& caption, const QString& text) override;
  void showInformation(const QString& text) override;
  void showError(const QString& text) override;
  bool askPeriod(QDate* from, QDate* to) override;
  // Quits the running event loop; asked before any loop runs (the no-port
  // message at start-up), it is remembered for the caller of exec().
  void requestQuit() override;
  void repaintMainWindow() override;
  void closeMainWindow() override;

  bool quitRequested() const { return quitRequested_; }

 private:
  TFormYellowMsg& formYellowMsg_;
  TFormParam79& formParam79_;
  TFormMainPralix* mainWindow_ = nullptr;
  bool quitRequested_ = false;
};

}  // namespace pralix
