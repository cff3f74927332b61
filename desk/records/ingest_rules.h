#pragma once
// What the desk makes of a POST to the DiagData address: a record to store,
// or the status and short reason it answers instead.  The rules run on the
// event loop before anything reaches the database, so a refused request
// stores nothing.

#include <QByteArray>
#include <QHostAddress>
#include <QList>

#include "records/diag_record.h"
#include "records/received_post.h"

namespace pralix::desk {

// The largest body the desk takes; nginx in front may set the same limit.
inline constexpr qint64 kMaxBodyBytes = 64 * 1024;

struct IngestSettings {
  QList<QHostAddress> trustedProxies;
};

struct IngestVerdict {
  int status = 0;          // 0: take the record; otherwise 400, 413 or 415
  QByteArray reason;       // one line for the answer's body
  DiagRecord record;       // when taken

  bool accepted() const { return status == 0; }
};

IngestVerdict JudgeDiagDataPost(const ReceivedPost& post, const IngestSettings& settings);

}  // namespace pralix::desk
