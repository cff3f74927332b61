#include "workstation/judge_fields.h"

#include "diagdata/value_judgement.h"
#include "workstation/model_catalogue.h"
#include "workstation/model_profile.h"

namespace pralix {

void JudgeFields(MainFields& fields) {
  if (FreeDailyReportsImplausible(fields.LEBPDI.text)) fields.LEBPDI.red = true;
  if (ArticleCountImplausible(fields.LEPluNumber.text)) fields.LEPluNumber.red = true;
  if (SerialMarkedUnknown(fields.LEIBFM.text)) fields.LEIBFM.red = true;

  if (fields.LEDTFP.text.contains(u"Error")) fields.LEDTFP.red = true;

  if (fields.LEDisplayOK.text == u"Error") fields.LEDisplayOK.red = true;

  if (ProfileOf(fields.ModelIndex).taxJudged && fields.LETax.text != QLatin1String(TaxMaskStandard) &&
      fields.LETax.text != QLatin1String(TaxMaskSingle))
    fields.LETax.red = true;

  if (ClockDifferenceImplausible(fields.LEDTDiff.text)) fields.LEDTDiff.red = true;

  if (FirmwareUnknown(fields.LEFirmware.text)) fields.LEFirmware.red = true;
}

}  // namespace pralix
