#include "app/app_context.h"

#include <QDir>
#include <QTextStream>
#include <stdexcept>

#include "workstation/diag_upload.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

AppContext::AppContext(UserInterface& ui, const QString& traceFile)
    : deviceMap_(MakeSystemSerialDeviceMap()),
      processes_(MakeSystemProcessControl()),
      driveC_(MakeSystemDriveC()),
      windowsVersion_(MakeSystemWindowsVersionSource()),
      outbox_(DiagOutboxFolder(), OutboxLogTo(QDir::currentPath(), clock_)),
      yellowMsgMutex_(CreateSystemNamedMutex()) {
  if (!traceFile.isEmpty()) {
    traceFile_.setFileName(traceFile);
    if (!traceFile_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
      throw std::runtime_error("Cannot write the trace file " + traceFile.toStdString() + ": " +
                               traceFile_.errorString().toStdString());
    tracing_ = std::make_unique<TracingSerialPort>(*port_, traceFile_, clock_);
    tracedScreenPorts_ = std::make_unique<TracedPortSource>(screenPorts_, traceFile_, clock_);
  }
  yellowMsg_ = std::make_unique<YellowMsg>(ui, *yellowMsgMutex_);
  formFP_ = std::make_unique<TFormFP>(ui, *yellowMsg_);
  workstation_ = std::make_unique<Workstation>(WorkstationDeps{
      comPort(), *formFP_, ui, clock_, *deviceMap_, *processes_, *driveC_, *windowsVersion_, http_,
      DiagDataUrl(), QDir::currentPath(), &outbox_, &screenPorts()});
}

std::unique_ptr<AppContext> MakeAppContextOrReport(UserInterface& ui, const QString& traceFile) {
  try {
    return std::make_unique<AppContext>(ui, traceFile);
  } catch (const std::exception& e) {
    Utf8TextStream(stderr) << e.what() << "\n";
    return nullptr;
  }
}

}  // namespace pralix
