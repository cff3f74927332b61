#pragma once
// The real main window and dialogs over fakes: a scripted printer on the
// serial port, a chosen serial device map, a counting process control, a
// temporary drive C and log folder, a recording HTTP client and a fixed
// clock.  Every frame on the wire is recorded with the port name and speed
// it went out on.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <functional>
#include <vector>

#include "fake_http_client.h"
#include "fake_platform.h"
#include "fixed_clock.h"
#include "form_fp_harness.h"
#include "link/P00_fpsend.h"
#include "messages/P00_YellowMsg.h"
#include "messages/P00_YellowMsg_window.h"
#include "messages/P20_Param79_window.h"
#include "mirrored_port_source.h"
#include "recording_mutex.h"
#include "scripted_port.h"
#include "workstation/TFormMainPralix_window.h"
#include "workstation/qt_user_interface_window.h"
#include "workstation/workstation.h"

namespace pralix::test {

struct SentFrame {
  QString port;
  qint32 baud;
  int command;
  QByteArray data;
};

// A healthy printer: a clock equal to the test's "now" and a known firmware.
inline PrinterReply HealthyPrinter(int command, const QByteArray&) {
  switch (command) {
    case 62: return Reply("07-02-21 10:30:00");
    case 90: return Reply("1.22SR 09NOV03 1230,BB78,1,2,3,XXXXX654321ZZ");
    case 68: return Reply("1500");
    default: return Reply("");
  }
}

struct MainWindowRig {
  explicit MainWindowRig(QList<SerialDevice> ports = {{"\\Device\\Serial0", "COM1"}, {"\\Device\\Serial2", "COM3"}})
      : deviceMap(std::move(ports)) {
    SequenceNumber = 0x1F;
    ui.setMainWindow(&window);
    port.setResponder([this](const QByteArray& frame) -> ScriptedPort::Response {
      wire.push_back({port.portName(), port.baudRate(), RequestCommand(frame), RequestData(frame)});
      if (!printer) return {};
      return {{1, ReplyTo(frame, printer(RequestCommand(frame), RequestData(frame)))}};
    });
  }
  ~MainWindowRig() { LinkPort = nullptr; }
  MainWindowRig(const MainWindowRig&) = delete;
  MainWindowRig& operator=(const MainWindowRig&) = delete;

  // Start-up as the program runs it, then the window as the user sees it.
  bool StartUp() {
    const bool ok = workstation.StartUp();
    window.refreshFromFields();
    window.show();
    return ok;
  }

  // A key pressed while `focused` (by default the model list) has the focus.
  void Press(Qt::Key key, QWidget* focused = nullptr) { QTest::keyClick(focused ? focused : window.CBFP, key); }
  void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

  QString OutboxFile(const QString& name) const {
    return driveC.map(QStringLiteral("C:\\Belmora\\Exch\\Lnk\\To_FP\\") + name);
  }

  QTemporaryDir dir;
  ScriptedPort port;
  // Action 3 looks at all the ports at once, on objects that answer as port does.
  MirroredPortSource screenPorts{port};
  // Answers every request; empty = a silent port.
  std::function<PrinterReply(int, const QByteArray&)> printer = HealthyPrinter;
  std::vector<SentFrame> wire;

  test::FakeSerialDeviceMap deviceMap;
  test::FakeProcessControl processes;
  test::FakeDriveC driveC{dir.path() + QStringLiteral("/drive_c")};
  test::FakeWindowsVersionSource windowsVersion;
  test::FakeHttpClient http;
  FixedClock clock{QDateTime(QDate(2021, 2, 7), QTime(10, 30))};

  TFormYellowMsg formYellowMsg;
  TFormParam79 formParam79{clock};
  QtUserInterface ui{formYellowMsg, formParam79};
  RecordingMutex mutex;
  YellowMsg yellowMsg{ui, mutex};
  TFormFP formFP{ui, yellowMsg};
  Workstation workstation{WorkstationDeps{port, formFP, ui, clock, deviceMap, processes, driveC, windowsVersion, http,
                                          QUrl(QStringLiteral("http://diag.example/dijagnostika")), dir.path(),
                                          nullptr, &screenPorts}};
  TFormMainPralix window{workstation};
};

}  // namespace pralix::test
