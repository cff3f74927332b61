// Linux: the copy is written to a temporary file beside the target, which
// then takes the target's place (QSaveFile).

#include <QFile>
#include <QSaveFile>

#include "interfaces/file_copy.h"

namespace pralix {

bool CopyFileOver(const QString& source, const QString& target) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return false;
  const QByteArray content = in.readAll();
  if (in.error() != QFileDevice::NoError) return false;
  QSaveFile out(target);
  return out.open(QIODevice::WriteOnly) && out.write(content) == content.size() && out.commit();
}

}  // namespace pralix
