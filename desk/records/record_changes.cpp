#include "records/record_changes.h"

#include <QDateTime>

#include "diagdata/value_judgement.h"

namespace pralix::desk {
namespace {

qint64 UtcDayNumber(qint64 ms) { return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).date().toJulianDay(); }

}  // namespace

RecordChanges ChangesSince(const DiagValues& previous, qint64 previousAtMs, const DiagValues& current, qint64 currentAtMs) {
  RecordChanges changes;
  changes.pib = previous[kPib] != current[kPib];
  changes.firmware = previous[kFw] != current[kFw];
  const std::optional<int> before = WholeInteger(previous[kBpdi]);
  const std::optional<int> after = WholeInteger(current[kBpdi]);
  if (before && after) {
    const qint64 days = qAbs(UtcDayNumber(currentAtMs) - UtcDayNumber(previousAtMs));
    changes.freeZJump = *after > *before || qint64(*before) - *after > days + 1;
  }
  return changes;
}

}  // namespace pralix::desk
