#pragma once
// The main window's command line: the tool's own options and the standard
// options that QApplication takes, told apart before the toolkit starts (a
// usage error is reported even where there is no display).

#include <QString>
#include <QStringList>

namespace pralix {

struct WindowOptions {
  enum class Action { RunWindow, ShowHelp, ShowVersion, UsageError };

  Action action = Action::RunWindow;
  QString error;               // for UsageError: what was wrong, one line
  QString traceFile;           // every frame on the line is traced here when set
  bool exitWhenShown = false;  // for start-up measurements: quit once the window is up
  QString platform;            // the value of -platform, when given
  bool displayNamed = false;   // -display was given
};

// Reads the arguments after the program name.  Qt's own options are
// accepted with one or two dashes, those with a value as "-opt VALUE" (and
// "-opt=VALUE" where QApplication takes that form); they stay in argv for
// QApplication, which removes them itself.
WindowOptions ParseWindowOptions(const QStringList& args);

}  // namespace pralix
