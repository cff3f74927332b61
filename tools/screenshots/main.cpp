// pralix-screenshots OUTDIR NAME=PATH...: renders the main window after a
// real test, the important-message dialog with the paper message and the
// period dialog to PNG files, without a display (QT_QPA_PLATFORM=offscreen).
// The PC's ports are the NAMEs given, in order, as a Windows PC lists them
// (COM1, COM3); each opens the serial device at PATH (the simulator's
// pseudo-terminal), a NAME without PATH opens nothing.  The fiscal-link
// files are under PRALIX_DRIVE_C.  Nothing else is touched: no process is
// stopped, the DiagData record stays on this PC and the diagnostic logs go
// to the working directory.

#include <QApplication>
#include <QDir>
#include <QHash>
#include <QStringDecoder>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

#include "link/P00_fp.h"
#include "messages/P00_YellowMsg.h"
#include "messages/P00_YellowMsg_window.h"
#include "messages/P20_Param79_window.h"
#include "interfaces/drive_c.h"
#include "interfaces/process_control.h"
#include "platform/qt/qt_serial_port.h"
#include "interfaces/serial_device_map.h"
#include "interfaces/windows_version_source.h"
#include "workstation/TFormMainPralix_window.h"
#include "workstation/qt_user_interface_window.h"
#include "workstation/workstation.h"

namespace pralix {
namespace {

// Windows port names over Linux device paths.
class NamedPorts final : public SerialDeviceMap {
 public:
  QList<SerialDevice> devices() const override { return devices_; }
  void add(const QString& name) {
    devices_.append({QStringLiteral("\\Device\\Serial%1").arg(devices_.size()), name});
  }

 private:
  QList<SerialDevice> devices_;
};

class RenamedPort final : public SerialPort {
 public:
  explicit RenamedPort(QHash<QString, QString> paths) : paths_(std::move(paths)) {}
  QString portName() const override { return name_; }
  void setPortName(const QString& name) override {
    name_ = name;
    port_.setPortName(paths_.value(name, QStringLiteral("/nonexistent/") + name));
  }
  qint32 baudRate() const override { return port_.baudRate(); }
  void setBaudRate(qint32 baud) override { port_.setBaudRate(baud); }
  bool isOpen() const override { return port_.isOpen(); }
  void open() override { port_.open(); }
  void close() override { port_.close(); }
  void clearBuffers() override { port_.clearBuffers(); }
  int write(const quint8* data, int count) override { return port_.write(data, count); }
  int read(quint8* buffer, int count) override { return port_.read(buffer, count); }
  int readWithin(quint8* buffer, int count, int timeoutMs) override {
    return port_.readWithin(buffer, count, timeoutMs);
  }

 private:
  QtSerialPort port_;
  QHash<QString, QString> paths_;
  QString name_ = QStringLiteral("COM1");
};

class NoProcesses final : public ProcessControl {
 public:
  void stopFiscalLink() override {}
  void openUrl(const QString&) override {}
};

class OfflineHttp final : public HttpClient {
 public:
  int post(const QUrl&, const HttpHeaders&, const QByteArray&) override { return 200; }
};

// A dialog that comes up during the test is reported and closed, so that a
// missing printer cannot hold the tool.
void CloseModalsAsTheyComeUp(QObject* owner) {
  auto* timer = new QTimer(owner);
  QObject::connect(timer, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      QTextStream(stderr) << "closed a dialog: " << modal->windowTitle() << "\n";
      modal->close();
    }
  });
  timer->start(10);
}

bool Save(QWidget* widget, const QString& path) {
  const bool saved = widget->grab().save(path);
  QTextStream(saved ? stdout : stderr) << (saved ? "wrote " : "cannot write ") << path << "\n";
  return saved;
}

int Run(const QString& outDir, const QStringList& ports) {
  QDir().mkpath(outDir);
  NamedPorts deviceMap;
  QHash<QString, QString> paths;
  for (const QString& port : ports) {
    const QString name = port.section(u'=', 0, 0);
    deviceMap.add(name);
    if (port.contains(u'=')) paths.insert(name, port.section(u'=', 1));
  }
  SystemClock clock;
  RenamedPort comPortFiskal(paths);
  auto driveC = MakeSystemDriveC();
  auto windowsVersion = MakeSystemWindowsVersionSource();
  auto mutex = CreateSystemNamedMutex();
  NoProcesses processes;
  OfflineHttp http;

  TFormYellowMsg formYellowMsg;
  TFormParam79 formParam79(clock);
  QtUserInterface ui(formYellowMsg, formParam79);
  YellowMsg yellowMsg(ui, *mutex);
  TFormFP formFP(ui, yellowMsg);
  Workstation workstation(WorkstationDeps{comPortFiskal, formFP, ui, clock, deviceMap, processes, *driveC,
                                          *windowsVersion, http, QUrl(QStringLiteral("http://localhost/dijagnostika")),
                                          QDir::currentPath()});
  TFormMainPralix formMainPralix(workstation);
  ui.setMainWindow(&formMainPralix);

  CloseModalsAsTheyComeUp(&formMainPralix);
  if (!workstation.StartUp()) return 1;
  formMainPralix.show();
  workstation.FormKeyPress(u'1');
  formMainPralix.refreshFromFields();
  bool ok = Save(&formMainPralix, outDir + QStringLiteral("/main-window.png"));

  // The dialogs as they come up, shown without their modal loop.
  formYellowMsg.setWindowTitle(YellowMsgCaption(3));
  formYellowMsg.LabelMsg->setText(QStringDecoder("windows-1250").decode(GlobalMsg.Get(3)));
  formYellowMsg.show();
  ok = Save(&formYellowMsg, outDir + QStringLiteral("/important-message.png")) && ok;
  formYellowMsg.hide();

  formParam79.show();
  ok = Save(&formParam79, outDir + QStringLiteral("/period-dialog.png")) && ok;
  formParam79.hide();
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace pralix

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (app.arguments().size() < 3) {
    std::fputs("usage: pralix-screenshots OUTDIR NAME[=PATH]...\n", stderr);
    return 2;
  }
  return pralix::Run(app.arguments().at(1), app.arguments().mid(2));
}
