#include "desk_load/process_memory.h"

#include <QFile>

namespace pralix::bench {
namespace {

QString ProcFile(qint64 pid, const char* name) { return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)); }

// "VmHWM:\t  123456 kB" -> 123456.
std::optional<qint64> KiBAfter(const QByteArray& status, const QByteArray& field) {
  const qsizetype at = status.indexOf('\n' + field + ':');
  if (at < 0) return std::nullopt;
  const qsizetype end = status.indexOf('\n', at + 1);
  bool ok = false;
  const qint64 kib = status.mid(at + field.size() + 2, end - at - field.size() - 2).trimmed().split(' ').first().toLongLong(&ok);
  return ok ? std::optional<qint64>(kib) : std::nullopt;
}

}  // namespace

std::optional<ProcessMemory> ReadProcessMemory(qint64 pid) {
  QFile file(ProcFile(pid, "status"));
  if (pid <= 0 || !file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray status = '\n' + file.readAll();
  const std::optional<qint64> resident = KiBAfter(status, "VmRSS"), peak = KiBAfter(status, "VmHWM");
  if (!resident || !peak) return std::nullopt;
  return ProcessMemory{*resident, *peak};
}

bool ResetPeakMemory(qint64 pid) {
  QFile file(ProcFile(pid, "clear_refs"));
  return pid > 0 && file.open(QIODevice::WriteOnly) && file.write("5") == 1;
}

}  // namespace pralix::bench
