#include "workstation/find_printer_texts.h"

#include "workstation/model_catalogue.h"

namespace pralix {

QString NoPrinterAnywhereText() {
  return QStringLiteral(
      "Štampač se nije javio ni na jednom portu ni na jednoj brzini!\n\n----------\n\n"
      "No printer answered on any port at any speed!");
}

QString OtherCandidatesText(const std::vector<int>& others) {
  QString lines;
  for (const int model : others) lines += QStringLiteral("\n") + QString::fromLatin1(ModelCatalogue[size_t(model)].line);
  return QStringLiteral("Odgovori štampača odgovaraju i ovim modelima:\n") + lines +
         QStringLiteral("\n\nIzaberite model i pritisnite 1.\n\n----------\n\n"
                        "The printer's answers fit these models as well:\n") +
         lines + QStringLiteral("\n\nPick one and press 1.");
}

}  // namespace pralix
