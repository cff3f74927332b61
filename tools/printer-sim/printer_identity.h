#pragma once
// What the simulated printer tells about itself, as the bytes it sends.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace pralix::sim {

// UTF-8 / wide text to the printer's Windows-1251 bytes; nothing when a
// character has no place in that code page.
std::optional<QByteArray> ToPrinterBytes(const QString& text);

struct PrinterIdentity {
  int model = 0;
  QByteArray modelName;
  QByteArray market;
  QByteArray serialField;       // the reply field that carries the serial
  QByteArray pibField;          // command 99, field 0
  QByteArray firmwareVersion;   // first firmware field ("1.22SR 09NOV03 1230")
  QByteArray firmwareChecksum;  // second firmware field ("BB78")
  QByteArray freeZ;             // command 68, field 0
  QByteArray plu;               // article count field of command 107 "I"
  QByteArray tax;               // tax-group field of command 83
  std::array<QByteArray, 6> header;

  // The table entry of model (0-15) in Windows-1251.
  static PrinterIdentity Defaults(int model);
  // "version,checksum": split at the first comma; no comma leaves the
  // checksum field empty.
  void SetFirmware(const QByteArray& text);
};

}  // namespace pralix::sim
