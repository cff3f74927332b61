#pragma once
// A UserInterface that records every call in order and answers from a
// script, so tests can see what the user would have been shown.

#include <QDate>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "messages/user_interface.h"

namespace pralix::test {

class RecordingUi : public UserInterface {
 public:
  enum class Kind { ImportantMessage, Information, Error, AskPeriod, Quit, Repaint };
  struct Call {
    Kind kind;
    QString caption;  // the important message's caption; empty otherwise
    QString text;     // the text shown; for AskPeriod the dates offered, "yyyy-MM-dd yyyy-MM-dd"
  };
  struct PeriodAnswer {
    bool ok;
    QDate from;
    QDate to;
  };

  void showImportantMessage(const QString& caption, const QString& text) override;
  void showInformation(const QString& text) override;
  void showError(const QString& text) override;
  // Answers from periodAnswers in order; Cancel once they are used up.
  bool askPeriod(QDate* from, QDate* to) override;
  void requestQuit() override;
  void repaintMainWindow() override;

  std::vector<Call> callsOf(Kind kind) const;
  int count(Kind kind) const;
  // Captions and texts of the important messages, in order.
  QStringList importantCaptions() const;
  QStringList importantTexts() const;

  std::vector<Call> calls;
  int quitRequests = 0;
  std::deque<PeriodAnswer> periodAnswers;
  // Runs while the important message is "on screen", before the call
  // returns: a test can replace the paper or look at the mutex here.
  std::function<void(const QString& caption, const QString& text)> onImportantMessage;
};

}  // namespace pralix::test
