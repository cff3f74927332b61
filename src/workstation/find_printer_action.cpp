// "3. Find printer": detect the port, speed and model, then run the test for
// the best candidate.

#include "workstation/find_printer_texts.h"
#include "workstation/printer_detection.h"
#include "workstation/workstation.h"

namespace pralix {

void Workstation::FindPrinter() {
  ClearFields();
  d_.ui.repaintMainWindow();
  const DetectionResult found =
      d_.screenPorts ? DetectPrinter(d_.comPort, d_.formFP.FPCmd, fields_.MemoPorts, *d_.screenPorts)
                     : DetectionResult{};
  if (!found.found()) {
    d_.ui.showInformation(NoPrinterAnywhereText());
    return;
  }
  fields_.CBFPIndex = found.candidates.front();
  RunConnectivityTest();
  if (found.candidates.size() > 1)
    d_.ui.showInformation(OtherCandidatesText({found.candidates.begin() + 1, found.candidates.end()}));
}

}  // namespace pralix
