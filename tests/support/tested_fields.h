#pragma once
// The window's fields after a test that found a printer on COM3, as the
// diagnostic-log tests write them.

#include <QString>

#include "workstation/main_fields.h"

namespace pralix::test {

inline MainFields TestedFields() {
  MainFields fields;
  fields.LEIBFM.text = QString::fromUtf8("АГ123456");
  fields.LEPIB.text = QStringLiteral("123456789");
  fields.LEFirmware.text = QStringLiteral("1.22SR 09NOV03 1230,BB78");
  fields.LEBPDI.text = QStringLiteral("987");
  fields.LEPluNumber.text = QStringLiteral("150");
  fields.LETax.text = QStringLiteral("010110000");
  fields.LEDTDiff.text = QStringLiteral("00:02");
  fields.LEFPPort.text = QStringLiteral("COM3/Ser");
  return fields;
}

}  // namespace pralix::test
