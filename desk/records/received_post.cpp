#include "records/received_post.h"

namespace pralix::desk {

QList<QByteArray> HeaderValues(const HeaderList& headers, const char* name) {
  QList<QByteArray> values;
  for (const auto& header : headers)
    if (header.first.compare(name, Qt::CaseInsensitive) == 0) values += header.second.trimmed();
  return values;
}

}  // namespace pralix::desk
