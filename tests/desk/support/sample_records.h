#pragma once
// DiagData records for the desk's tests, encoded by the tool's own encoder.

#include <QByteArray>
#include <QString>

#include "records/diag_record.h"

namespace pralix::desk::test {

// The ten values of a plausible test of printer ibfm; bpdi and the header
// vary with n so that records differ.
DiagValues SampleValues(const QString& ibfm, int n = 0);
// Those values as the tool's form body.
QByteArray SampleBody(const QString& ibfm, int n = 0);
QByteArray BodyOf(const DiagValues& values);
// A record as the ingest rules would make it, with the key and times given.
DiagRecord SampleRecord(const QString& ibfm, int n, const QString& key, qint64 receivedAtMs,
                        std::optional<qint64> testedAtMs = std::nullopt);

}  // namespace pralix::desk::test
