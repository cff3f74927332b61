#pragma once
// The outbox: DiagData records whose upload failed, one file each, kept
// until the support service has taken them.  Files are written whole under
// a temporary name and renamed into place; their names sort oldest first.
// The outbox holds at most a number of records and of bytes; beyond that the
// oldest go, each with one line in the diagnostic log.  A file that is not a
// record is left where it is, named once in the log, and skipped.

#include <QList>
#include <QSet>
#include <QString>
#include <functional>

#include "interfaces/clock.h"
#include "workstation/diag_outbox_record.h"

namespace pralix {

struct KeptRecord {
  QString fileName;  // within the outbox folder
  qint64 size = 0;   // of the file
  OutboxRecord record;
};

class DiagOutbox {
 public:
  using LogLine = std::function<void(const QString& line)>;

  static constexpr int kMaxRecords = 1000;
  static constexpr qint64 kMaxBytes = 10 * 1024 * 1024;

  DiagOutbox(QString folder, LogLine log, int maxRecords = kMaxRecords, qint64 maxBytes = kMaxBytes);
  DiagOutbox(const DiagOutbox&) = delete;
  DiagOutbox& operator=(const DiagOutbox&) = delete;

  const QString& folder() const { return folder_; }

  // Writes the record as a new file (creating the folder if needed), then
  // drops the oldest records beyond the bounds.  False, with a log line, when
  // the record could not be written.
  bool keep(const OutboxRecord& record);

  // Every record, oldest first.  Reads each file whole.
  QList<KeptRecord> records();
  int count() { return int(records().size()); }

  // Deletes the record's file; false when it is still there.
  bool remove(const KeptRecord& kept);

 private:
  QString NewFileName(const OutboxRecord& record) const;
  void DropBeyondBounds();

  QString folder_;
  LogLine log_;
  int maxRecords_;
  qint64 maxBytes_;
  QSet<QString> reportedForeign_;  // each named once per run
};

// The outbox folder: PRALIX_OUTBOX from the environment when set and not
// empty, otherwise the platform's own (SystemOutboxFolder).
QString DiagOutboxFolder();

// A log writer that appends each outbox line, dated by the clock, to the
// summary log in the given folder; a log that cannot be written is passed by.
DiagOutbox::LogLine OutboxLogTo(const QString& logDirectory, const Clock& clock);

}  // namespace pralix
