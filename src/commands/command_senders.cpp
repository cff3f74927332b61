// The fixed commands of the catalogue, each with its request data and the
// title that heads its failure text.

#include "link/P00_fp.h"

namespace pralix {

void TFormFP::Cmd90() { SendCommand(90, "1", "Komanda 90"); }

void TFormFP::Cmd99() { SendCommand(99, "", "Komanda 99"); }

void TFormFP::Cmd62() { SendCommand(62, "", "Komanda 62"); }

void TFormFP::Cmd83() { SendCommand(83, "", "Komanda 83"); }

void TFormFP::Cmd71() { SendCommand(71, "", "Komanda 71 - Diagnostika stampaca"); }

void TFormFP::Cmd107I() { SendCommand(107, "I", "Komanda 107I"); }

}  // namespace pralix
