#pragma once
// One DiagData record as the desk keeps it: the body exactly as it came, its
// ten decoded values and what the request told besides.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

#include "diagdata/diagdata_fields.h"

namespace pralix::desk {

// Positions of the values, in the order of kDiagDataFieldNames.
enum DiagField : int { kIbfm, kPib, kFw, kJx, kTg, kBpdi, kPlu, kCp, kDiff, kH6l };

using DiagValues = std::array<QString, kDiagDataFieldCount>;

struct DiagRecord {
  QByteArray rawBody;
  DiagValues values;
  qint64 receivedAtMs = 0;            // when the desk had the whole request, UTC
  std::optional<qint64> testedAtMs;   // Pralix-Tested-At, when it was a valid time
  QString clientAddress;
  QString idempotencyKey;             // null: the tool sent none
  QString toolVersion;                // null: the tool sent none (or nothing usable)

  // The time the record stands for: the test's, else the time it arrived.
  qint64 shownAtMs() const { return testedAtMs.value_or(receivedAtMs); }
};

}  // namespace pralix::desk
