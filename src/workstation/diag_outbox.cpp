#include "workstation/diag_outbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

#include "interfaces/outbox_folder.h"
#include "workstation/ansi_text.h"
#include "workstation/diagnostic_log.h"
#include "workstation/log_file_writes.h"

namespace pralix {
namespace {

constexpr char kExtension[] = ".diagdata";

// 20240517T081502123Z-0000.diagdata: the test's UTC time, then a number that
// keeps records of the same millisecond apart and in the order they came.
const QRegularExpression& RecordName() {
  static const QRegularExpression name(QStringLiteral("^\\d{8}T\\d{9}Z-\\d{4}\\.diagdata$"));
  return name;
}

// What QSaveFile writes before the rename: a record name and six characters.
bool IsWriteInProgress(const QString& name) {
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot > 0 && RecordName().match(name.left(dot)).hasMatch() && name.size() - dot == 7;
}

QString Shown(const QDateTime& time) { return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }

}  // namespace

DiagOutbox::DiagOutbox(QString folder, LogLine log, int maxRecords, qint64 maxBytes)
    : folder_(std::move(folder)), log_(std::move(log)), maxRecords_(maxRecords), maxBytes_(maxBytes) {}

QString DiagOutbox::NewFileName(const OutboxRecord& record) const {
  const QString stamp = record.testTime.toUTC().toString(QStringLiteral("yyyyMMdd'T'hhmmsszzz'Z'"));
  const QDir dir(folder_);
  // After every record already kept for the same millisecond.
  int next = 0;
  for (const QString& name : dir.entryList({stamp + QStringLiteral("-*") + QLatin1String(kExtension)}, QDir::Files))
    next = std::max(next, name.mid(stamp.size() + 1, 4).toInt() + 1);
  return stamp + QStringLiteral("-%1").arg(next, 4, 10, QChar(u'0')) + QLatin1String(kExtension);
}

bool DiagOutbox::keep(const OutboxRecord& record) {
  QString reason;
  if (folder_.isEmpty()) {
    reason = QStringLiteral("the system names no folder for it");
  } else if (!QDir().mkpath(folder_)) {
    reason = QStringLiteral("the folder cannot be made");
  } else {
    const QByteArray content = SerializeOutboxRecord(record);
    // Written beside its final name, flushed to disk and renamed into place:
    // a power cut leaves the whole record or none.
    QSaveFile file(QDir(folder_).filePath(NewFileName(record)));
    file.setDirectWriteFallback(false);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit()) {
      DropBeyondBounds();
      return true;
    }
    reason = file.errorString();
  }
  log_(QStringLiteral("DiagData outbox: the record of the test at %1 could not be kept in %2 (%3)")
           .arg(Shown(record.testTime), QDir::toNativeSeparators(folder_), reason));
  return false;
}

QList<KeptRecord> DiagOutbox::records() {
  QList<KeptRecord> kept;
  if (folder_.isEmpty()) return kept;  // QDir would take the working directory
  const QDir dir(folder_);
  QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
  std::sort(names.begin(), names.end());  // by code point: the names' own order
  for (const QString& name : names) {
    if (IsWriteInProgress(name)) continue;
    std::optional<OutboxRecord> record;
    qint64 size = 0;
    if (RecordName().match(name).hasMatch()) {
      QFile file(dir.filePath(name));
      if (file.open(QIODevice::ReadOnly)) {
        const QByteArray content = file.readAll();
        size = content.size();
        record = ParseOutboxRecord(content);
      }
    }
    if (record) {
      kept.append({name, size, *std::move(record)});
    } else if (!reportedForeign_.contains(name)) {
      reportedForeign_.insert(name);
      log_(QStringLiteral("DiagData outbox: %1 is not a whole DiagData record; left in place and skipped")
               .arg(QDir::toNativeSeparators(dir.filePath(name))));
    }
  }
  return kept;
}

bool DiagOutbox::remove(const KeptRecord& kept) {
  QFile file(QDir(folder_).filePath(kept.fileName));
  return file.remove() || !file.exists();
}

void DiagOutbox::DropBeyondBounds() {
  const QList<KeptRecord> kept = records();
  qsizetype count = kept.size();
  qint64 bytes = 0;
  for (const KeptRecord& k : kept) bytes += k.size;
  for (const KeptRecord& oldest : kept) {
    if (count <= maxRecords_ && bytes <= maxBytes_) break;
    if (!remove(oldest)) continue;
    --count;
    bytes -= oldest.size;
    log_(QStringLiteral("DiagData outbox: dropped record %1 of the test at %2, beyond %3 records or %4 bytes")
             .arg(oldest.fileName, Shown(oldest.record.testTime))
             .arg(maxRecords_)
             .arg(maxBytes_));
  }
}

QString DiagOutboxFolder() {
  const QString fromEnvironment = qEnvironmentVariable("PRALIX_OUTBOX");
  return fromEnvironment.isEmpty() ? SystemOutboxFolder() : fromEnvironment;
}

DiagOutbox::LogLine OutboxLogTo(const QString& logDirectory, const Clock& clock) {
  return [logDirectory, &clock](const QString& line) {
    const QString dated = clock.now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss, ")) + line;
    AppendLogLine(QDir(logDirectory).filePath(QString::fromLatin1(kSummaryLogName)), EncodeAnsiText(dated));
  };
}

}  // namespace pralix
