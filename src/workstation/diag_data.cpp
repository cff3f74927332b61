#include "workstation/diag_data.h"

#include "diagdata/diagdata_fields.h"
#include "workstation/model_catalogue.h"
#include "workstation/printer_text.h"

namespace pralix {

QStringList BuildDiagData(const MainFields& fields) {
  // When no catalogue row matches, ModelCode hands back the serial's leading
  // bytes in the printer's code page; decoding them the same way keeps the
  // serial's own letters in the wide-text record.
  const QString values[kDiagDataFieldCount] = {
      DecodePrinterText(ModelCode(fields)) + fields.LEIBFM.text.mid(2, 6),
      fields.LEPIB.text,
      fields.LEFirmware.text,
      fields.LECurrJXVer.text,
      fields.LETax.text,
      fields.LEBPDI.text,
      fields.LEPluNumber.text,
      fields.LEFPPort.text,
      fields.LEDTDiff.text,
      fields.MemoHeaderText() + QLatin1String(kDiagDataEndMarker),
  };
  QStringList record;
  for (int i = 0; i < kDiagDataFieldCount; ++i)
    record += QLatin1String(kDiagDataFieldNames[size_t(i)]) + QLatin1Char('=') + values[i];
  return record;
}

}  // namespace pralix
