#pragma once
// What changed from one record of a printer to its next: another taxpayer
// (PIB), a firmware update, or a count of free daily (Z) reports that a
// printer's own use cannot explain.

#include <QtGlobal>

#include "records/diag_record.h"

namespace pralix::desk {

struct RecordChanges {
  bool pib = false;
  bool firmware = false;
  // More free Z than before (a new fiscal memory, or another printer's
  // values), or fewer by more than one report per calendar day between the
  // two tests, counting both days (a Z report closes a day, at most once).
  bool freeZJump = false;

  bool any() const { return pib || firmware || freeZJump; }
};

// previous is the record just before current in time; dates are UTC days.
RecordChanges ChangesSince(const DiagValues& previous, qint64 previousAtMs, const DiagValues& current, qint64 currentAtMs);

}  // namespace pralix::desk
