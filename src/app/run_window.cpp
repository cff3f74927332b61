#include "app/run_window.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>
#include <exception>

#include "app/app_context.h"
#include "messages/P00_YellowMsg_window.h"
#include "messages/P20_Param79_window.h"
#include "messages/message_box_window.h"
#include "workstation/TFormMainPralix_window.h"
#include "workstation/qt_user_interface_window.h"

namespace pralix {

namespace {

struct WindowOptions {
  QString traceFile;  // every frame on the line is traced here when set
  bool exitWhenShown = false;  // for start-up measurements: quit once the window is up
};

bool ParseWindowOptions(const QStringList& args, WindowOptions* options) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--trace")) {
      if (i + 1 == args.size()) {
        QTextStream(stderr) << "pralix: --trace needs a FILE\n";
        return false;
      }
      options->traceFile = args[++i];
    } else if (args[i] == QLatin1String("--exit-when-shown")) {
      options->exitWhenShown = true;
    } else {
      QTextStream(stderr) << "pralix: unknown argument " << args[i] << "\n";
      return false;
    }
  }
  return true;
}

}  // namespace

int RunMainWindow(int argc, char** argv) {
  // Usage errors are told before the toolkit looks for a display.
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  WindowOptions options;
  if (!ParseWindowOptions(args, &options)) return 2;
  QApplication app(argc, argv);

  try {
    SystemClock clock;
    TFormYellowMsg FormYellowMsg;
    TFormParam79 FormParam79(clock);
    QtUserInterface ui(FormYellowMsg, FormParam79);
    AppContext context(ui, options.traceFile);

    TFormMainPralix FormMainPralix(context.workstation());
    ui.setMainWindow(&FormMainPralix);
    // Without a serial port the no-port message has been shown and the
    // program ends before the window is used.
    if (!context.workstation().StartUp() || ui.quitRequested()) return 0;
    FormMainPralix.refreshFromFields();
    FormMainPralix.show();
    if (options.exitWhenShown) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
  } catch (const std::exception& e) {
    ShowErrorBox(nullptr, QString::fromUtf8(e.what()));
    return 1;
  }
}

}  // namespace pralix
