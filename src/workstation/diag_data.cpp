#include "workstation/diag_data.h"

#include "workstation/model_catalogue.h"
#include "workstation/printer_text.h"

namespace pralix {

QStringList BuildDiagData(const MainFields& fields) {
  // When no catalogue row matches, ModelCode hands back the serial's leading
  // bytes in the printer's code page; decoding them the same way keeps the
  // serial's own letters in the wide-text record.
  return {
      QStringLiteral("ibfm=") + DecodePrinterText(ModelCode(fields)) + fields.LEIBFM.text.mid(2, 6),
      QStringLiteral("pib=") + fields.LEPIB.text,
      QStringLiteral("fw=") + fields.LEFirmware.text,
      QStringLiteral("jx=") + fields.LECurrJXVer.text,
      QStringLiteral("tg=") + fields.LETax.text,
      QStringLiteral("bpdi=") + fields.LEBPDI.text,
      QStringLiteral("plu=") + fields.LEPluNumber.text,
      QStringLiteral("cp=") + fields.LEFPPort.text,
      QStringLiteral("diff=") + fields.LEDTDiff.text,
      QStringLiteral("h6l=") + fields.MemoHeaderText() + QStringLiteral("DIAG\n"),
  };
}

}  // namespace pralix
