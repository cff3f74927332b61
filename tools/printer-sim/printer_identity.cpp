#include "printer_identity.h"

#include <QStringEncoder>

#include "model_identity.h"

namespace pralix::sim {

std::optional<QByteArray> ToPrinterBytes(const QString& text) {
  QStringEncoder encode("windows-1251");
  QByteArray bytes = encode.encode(text);
  if (encode.hasError()) return std::nullopt;
  return bytes;
}

namespace {

// The table is checked by the unit tests to hold only Windows-1251 letters.
QByteArray TableText(const char* utf8) { return ToPrinterBytes(QString::fromUtf8(utf8)).value_or(QByteArray()); }

}  // namespace

PrinterIdentity PrinterIdentity::Defaults(int model) {
  const ModelIdentity& m = kModelIdentities.at(model);
  PrinterIdentity id;
  id.model = model;
  id.modelName = m.modelName;
  id.market = m.market;
  id.serialField = TableText(m.serialField);
  id.pibField = TableText(m.pibField);
  id.SetFirmware(m.firmware);
  id.freeZ = QByteArray::number(m.freeZ);
  id.plu = QByteArray::number(m.plu);
  id.tax = m.tax;
  for (int k = 0; k < 6; ++k) id.header[k] = TableText(m.header[k]);
  return id;
}

void PrinterIdentity::SetFirmware(const QByteArray& text) {
  const qsizetype comma = text.indexOf(',');
  firmwareVersion = comma < 0 ? text : text.left(comma);
  firmwareChecksum = comma < 0 ? QByteArray() : text.mid(comma + 1);
}

}  // namespace pralix::sim
