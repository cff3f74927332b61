#pragma once
// Telling the models apart from what a printer says about itself: the
// firmware identification and the serial of command 90 "1", read where each
// model keeps them.  Models at the same speed differ there; the two
// Macedonian models (12, 13) do not, and both fit.

#include <QByteArray>
#include <QList>
#include <optional>
#include <vector>

namespace pralix {

enum class Evidence { Fits, Contradicts, Unknown };

// The two letters of a firmware identification ("1.22SR 09NOV03 1230" gives
// SR); empty when the text does not have that shape.
QByteArray FirmwareLetters(const QByteArray& version);

// Whether the firmware fields of model's layout hold its market's letters
// (SR, CG, MK, BG, MW).  fields: the reply's comma-separated fields.
Evidence FirmwareEvidence(int model, const QList<QByteArray>& fields);

// Whether the serial where model keeps it gives the model's code (ModelCode
// rules: АГ is AG, Latin AG is AJ, …); for the Macedonian models, whose
// code the tool adds itself, whether their serial field has the six digits
// the test shows.
Evidence SerialEvidence(int model, const QList<QByteArray>& fields);

// The catalogue's models at this speed that fit the reply of command 90 "1"
// best (fewest contradictions, then most fits), in catalogue order.  Without
// a reply (the command failed) every model at the speed fits.  Never empty
// for a speed of the catalogue.
std::vector<int> RankModels(qint32 baud, const std::optional<QByteArray>& deviceInfo);

}  // namespace pralix
