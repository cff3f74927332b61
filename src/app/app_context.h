#pragma once
// Everything the tool is made of, wired for this PC: the port object, the
// platform services, the link owner, the important-message behaviour and the
// main window's logic.  The window and the headless commands each build one
// around their own user interface.

#include <QFile>
#include <memory>

#include "link/P00_fp.h"
#include "link/traced_port_source.h"
#include "link/tracing_serial_port.h"
#include "messages/P00_YellowMsg.h"
#include "interfaces/named_mutex.h"
#include "platform/qt/qt_http_client.h"
#include "interfaces/system_serial_port.h"
#include "platform/system_serial_port_source.h"
#include "workstation/workstation.h"

namespace pralix {

class AppContext {
 public:
  // traceFile: when not empty, every frame on the line is traced there.
  // Throws std::runtime_error when the trace file cannot be opened.
  explicit AppContext(UserInterface& ui, const QString& traceFile = {});
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  Workstation& workstation() { return *workstation_; }
  DiagOutbox& outbox() { return outbox_; }
  TFormFP& formFP() { return *formFP_; }
  YellowMsg& yellowMsg() { return *yellowMsg_; }
  SerialPort& comPort() { return tracing_ ? static_cast<SerialPort&>(*tracing_) : *port_; }
  // The detection's own port objects, on the trace too when there is one.
  SerialPortSource& screenPorts() {
    return tracedScreenPorts_ ? static_cast<SerialPortSource&>(*tracedScreenPorts_) : screenPorts_;
  }
  const SerialDeviceMap& deviceMap() const { return *deviceMap_; }
  const DriveC& driveC() const { return *driveC_; }
  ProcessControl& processes() { return *processes_; }

 private:
  SystemClock clock_;
  std::unique_ptr<SerialPort> port_ = MakeSystemSerialPort();
  SystemSerialPortSource screenPorts_;
  QFile traceFile_;
  std::unique_ptr<TracingSerialPort> tracing_;
  std::unique_ptr<TracedPortSource> tracedScreenPorts_;
  std::unique_ptr<SerialDeviceMap> deviceMap_;
  std::unique_ptr<ProcessControl> processes_;
  std::unique_ptr<DriveC> driveC_;
  std::unique_ptr<WindowsVersionSource> windowsVersion_;
  QtHttpClient http_;
  DiagOutbox outbox_;
  std::unique_ptr<NamedMutex> yellowMsgMutex_;
  std::unique_ptr<YellowMsg> yellowMsg_;
  std::unique_ptr<TFormFP> formFP_;
  std::unique_ptr<Workstation> workstation_;
};

// For the headless commands: the context, or nullptr after telling on
// standard error why it could not be made (an unwritable trace file).
std::unique_ptr<AppContext> MakeAppContextOrReport(UserInterface& ui, const QString& traceFile);

}  // namespace pralix
