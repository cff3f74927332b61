// The Link.ini rewrite.  Input: [port choice] file bytes...  Properties:
// the file keeps its number of lines; a line without "=COM" is kept byte
// for byte; a line with it keeps everything up to the "=" and then holds the
// port; every line ends in CR LF.

#include <QByteArray>
#include <cstdint>

#include "fuzz_check.h"
#include "scratch_drive.h"
#include "workstation/ansi_text.h"
#include "workstation/fiscal_link_files.h"
#include "workstation/fiscal_link_paths.h"
#include "workstation/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pralix;
  if (size < 1) return 0;
  static const char* const kPorts[] = {"COM3/Ser", "/dev/ttyUSB0/USB", "COM12/USB", "/dev/ttyS1/Ser",
                                       "COM\xC4\x8C/Ser", "/Ser", "COM1"};
  const QString portField = QString::fromUtf8(kPorts[data[0] % std::size(kPorts)]);
  const QByteArray before(reinterpret_cast<const char*>(data + 1), int(size - 1));
  const QString path = fuzz::PutFile(kLinkIniPath, before);

  MainFields fields;
  fields.LEFPPort.text = portField;
  UpdateLinkPort(fields, fuzz::ScratchDrive());
  const QByteArray after = fuzz::GetFile(path);

  const QString port = LinkPortName(portField);
  if (port.isEmpty()) {
    FUZZ_CHECK(after == before);  // no port: the software keeps its own
    return 0;
  }
  const QByteArray portBytes = EncodeAnsiText(port);
  const QList<QByteArray> old = SplitTextLines(before);
  FUZZ_CHECK(after.isEmpty() == old.isEmpty());
  FUZZ_CHECK(after.isEmpty() || after.endsWith("\r\n"));
  const QList<QByteArray> now = after.isEmpty() ? QList<QByteArray>() : after.chopped(2).split('\n');
  FUZZ_CHECK(now.size() == old.size());
  for (qsizetype i = 0; i < old.size(); ++i) {
    QByteArray line = now[i];
    if (i + 1 < now.size()) {
      FUZZ_CHECK(line.endsWith('\r'));
      line.chop(1);
    }
    const qsizetype at = old[i].indexOf("=COM");
    if (at < 0) FUZZ_CHECK(line == old[i]);
    else FUZZ_CHECK(line == old[i].left(at + 1) + portBytes);
  }
  return 0;
}
