#include "app/console_user_interface.h"

#include <QTextStream>
#include <QThread>
#include <cstdio>
#include <unistd.h>

#include "messages/P00_YellowMsg.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

namespace {

// The paper request is catalogue message 3.
const QString kPaperRequestCaption = YellowMsgCaption(3);

}  // namespace

void ConsoleUserInterface::show(const QString& caption, const QString& text) {
  dialogs_.append({caption, text});
  Utf8TextStream err(stderr);
  err << "[" << caption << "]\n" << text << "\n\n";
  err.flush();
}

void ConsoleUserInterface::showImportantMessage(const QString& caption, const QString& text) {
  show(caption, text);
  if (caption != kPaperRequestCaption) return;
  // The user replaces the paper, then the command is sent again.
  if (isatty(STDIN_FILENO)) {
    Utf8TextStream(stderr) << "Press Enter when the paper is replaced... " << Qt::flush;
    char line[256];
    if (!std::fgets(line, sizeof line, stdin)) QThread::sleep(unsigned(paperWaitSeconds_));
  } else {
    QThread::sleep(unsigned(paperWaitSeconds_));
  }
}

void ConsoleUserInterface::showInformation(const QString& text) { show(kInformationCaption, text); }

void ConsoleUserInterface::showError(const QString& text) {
  ++errors_;
  show(kErrorCaption, text);
}

bool ConsoleUserInterface::askPeriod(QDate* from, QDate* to) {
  if (!period_) return false;
  *from = period_->first;
  *to = period_->second;
  return true;
}

}  // namespace pralix
