#pragma once
// What "3. Find printer" tells the user, in the tool's two languages.

#include <QString>
#include <vector>

namespace pralix {

// No printer answered on any port at any speed.
QString NoPrinterAnywhereText();

// The models that fit as well as the one the test ran with, one CBFP line
// each, so that the user can pick one and press 1.
QString OtherCandidatesText(const std::vector<int>& others);

}  // namespace pralix
