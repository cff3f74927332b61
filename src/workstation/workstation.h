#pragma once
// The main window's logic: start-up, the one key dispatcher and the actions.
// The Qt window shows its fields and forwards keys and clicks; the headless
// commands drive it with a console user interface; tests with fakes.

#include <QChar>
#include <QString>
#include <QUrl>

#include "link/P00_fp.h"
#include "interfaces/serial_port.h"
#include "interfaces/serial_port_source.h"
#include "messages/user_interface.h"
#include "interfaces/clock.h"
#include "interfaces/drive_c.h"
#include "interfaces/http_client.h"
#include "interfaces/process_control.h"
#include "interfaces/serial_device_map.h"
#include "interfaces/windows_version_source.h"
#include "workstation/diag_outbox.h"
#include "workstation/main_fields.h"
#include "workstation/test_observer.h"

namespace pralix {

struct WorkstationDeps {
  SerialPort& comPort;  // ComPortFiskal: every printer command goes through it
  TFormFP& formFP;
  UserInterface& ui;
  const Clock& clock;
  const SerialDeviceMap& deviceMap;
  ProcessControl& processes;
  const DriveC& driveC;
  const WindowsVersionSource& windowsVersion;
  HttpClient& http;
  QUrl diagUrl;          // where the DiagData record goes
  QString logDirectory;  // where the diagnostic logs are written
  DiagOutbox* outbox = nullptr;  // keeps records not sent; none: they are lost
  // Port objects of their own for action 3, which looks at all the ports at
  // once; none: no port can be looked at, so action 3 finds no printer.
  SerialPortSource* screenPorts = nullptr;
};

class Workstation {
 public:
  // Points the link at the port object; start-up proper is StartUp().
  explicit Workstation(WorkstationDeps deps);
  Workstation(const Workstation&) = delete;
  Workstation& operator=(const Workstation&) = delete;

  MainFields& fields() { return fields_; }
  const MainFields& fields() const { return fields_; }

  // Stops the fiscal-link software, selects the first model, lists the
  // ports; with none, shows the no-port message, asks to quit and returns
  // false; otherwise hides the action panels and clears the outbox.
  // namedPorts, when given, are tried in their order instead of the PC's list.
  bool StartUp(const QStringList& namedPorts = {});

  // The one dispatcher of keys and panel clicks.  Runs the key's action and
  // returns the key that the focused control then gets: the null character
  // for the action digits, the key itself otherwise.  An error that an
  // action does not handle goes to the standard error box.
  QChar FormKeyPress(QChar key);
  void PanelClick(int tag) { FormKeyPress(QChar(u'0' + tag)); }
  void LabelWebClick();
  void SetActionPanelsVisible(bool visible) { fields_.ActionPanelsVisible = visible; }
  // Told when each test starts and when it has found the printer; may be null.
  void SetTestObserver(TestObserver* observer) { testObserver_ = observer; }

  // Actions; each raises what it does not handle itself.
  void RunConnectivityTest();
  void ReportDiagDataUpload();  // '2'
  void FindPrinter();           // '3': detection, then the test for the best candidate
  void PrintDiagnostic();       // '4'
  void PrintXReport();          // '5'
  void PrintZReport();          // '6'
  void PrintPeriodicReport();   // '7'

 private:
  // Steps of the connectivity test.
  void ClearFields();
  bool FindPrinterPort();
  bool WalkPorts(ExchangeWait wait);
  void ReadSerial();
  void ReadPib();
  void ReadDateTime();
  void ReadFirmware();
  void ReadArticles();
  void ReadTaxGroups();
  void ReadHeader();
  void FinishTest();

  WorkstationDeps d_;
  MainFields fields_;
  TestObserver* testObserver_ = nullptr;
};

}  // namespace pralix
