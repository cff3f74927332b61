#include "app/run_window.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/app_context.h"
#include "app/display_presence.h"
#include "build_config.h"
#include "messages/dialog_journal.h"
#include "messages/P00_YellowMsg_window.h"
#include "messages/P20_Param79_window.h"
#include "messages/message_box_window.h"
#include "workstation/TFormMainPralix_window.h"
#include "workstation/last_test_page.h"
#include "workstation/qt_user_interface_window.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

namespace {

QtMessageHandler g_toolkitHandler = nullptr;

// While QApplication starts, a platform that cannot reach its display ends
// the program with a fatal message, which would abort with a core dump.
void ExitOnDisplayFailure(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (g_toolkitHandler) g_toolkitHandler(type, context, message);
    return;
  }
  std::fprintf(stderr, "pralix: the display cannot be opened; `pralix test` runs the test without a window\n");
  std::fflush(stderr);
  std::_Exit(2);
}

bool DisplayMissing(const WindowOptions& options) {
#if defined(Q_OS_LINUX)
  return LacksDisplay({options.platform, qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
                       qEnvironmentVariable("WAYLAND_DISPLAY"), options.displayNamed});
#else
  Q_UNUSED(options);
  return false;
#endif
}

}  // namespace

int RunMainWindow(int argc, char** argv, const WindowOptions& options) {
  if (DisplayMissing(options)) {
    Utf8TextStream(stderr) << kNoDisplayMessage << "\n";
    return 2;
  }
  g_toolkitHandler = qInstallMessageHandler(ExitOnDisplayFailure);
  QApplication app(argc, argv);
  qInstallMessageHandler(g_toolkitHandler);

  try {
    SystemClock clock;
    TFormYellowMsg FormYellowMsg;
    TFormParam79 FormParam79(clock);
    QtUserInterface ui(FormYellowMsg, FormParam79);
    DialogJournal journal(ui, QString::fromLatin1(kInformationBoxTitle), QString::fromLatin1(kErrorBoxTitle));
    AppContext context(journal, options.traceFile);
    // The last test's page goes beside the diagnostic logs, in the working directory.
    LastTestPageKeeper lastTestPage(journal, clock, QDir::currentPath(), QStringLiteral(PRALIX_VERSION));
    context.workstation().SetTestObserver(&lastTestPage);

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
