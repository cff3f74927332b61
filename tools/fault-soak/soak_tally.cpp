#include "soak_tally.h"

#include <algorithm>

namespace pralix::soak {

void SoakTally::Merge(const SoakTally& other) {
  exchanges += other.exchanges;
  wrongOutcomes += other.wrongOutcomes;
  overlong += other.overlong;
  maxMs = std::max(maxMs, other.maxMs);
  maxRatio = std::max(maxRatio, other.maxRatio);
  totalMs += other.totalMs;
  for (const auto& [k, v] : other.attemptsPerFault) attemptsPerFault[k] += v;
  for (const auto& [k, v] : other.exchangesPerCode) exchangesPerCode[k] += v;
  for (const QByteArray& f : other.failures)
    if (failures.size() < kFailuresKept) failures << f;
}

QByteArray SoakTally::Serialize() const {
  QByteArray out;
  const auto put = [&out](const QByteArray& key, const QByteArray& value) { out += key + ' ' + value + '\n'; };
  put("exchanges", QByteArray::number(exchanges));
  put("wrong", QByteArray::number(wrongOutcomes));
  put("overlong", QByteArray::number(overlong));
  put("max-ms", QByteArray::number(maxMs, 'f', 1));
  put("max-ratio", QByteArray::number(maxRatio, 'f', 3));
  put("total-ms", QByteArray::number(totalMs, 'f', 1));
  for (const auto& [k, v] : attemptsPerFault) put("fault", k + ' ' + QByteArray::number(v));
  for (const auto& [k, v] : exchangesPerCode) put("code", QByteArray::number(k) + ' ' + QByteArray::number(v));
  for (const QByteArray& f : failures) put("failure", f);
  return out;
}

SoakTally SoakTally::Parse(const QByteArray& text) {
  SoakTally t;
  for (const QByteArray& line : text.split('\n')) {
    const qsizetype space = line.indexOf(' ');
    if (space < 0) continue;
    const QByteArray key = line.left(space);
    const QByteArray value = line.mid(space + 1);
    const QList<QByteArray> pair = value.split(' ');
    if (key == "exchanges") t.exchanges = value.toInt();
    else if (key == "wrong") t.wrongOutcomes = value.toInt();
    else if (key == "overlong") t.overlong = value.toInt();
    else if (key == "max-ms") t.maxMs = value.toDouble();
    else if (key == "max-ratio") t.maxRatio = value.toDouble();
    else if (key == "total-ms") t.totalMs = value.toDouble();
    else if (key == "fault" && pair.size() == 2) t.attemptsPerFault[pair[0]] += pair[1].toInt();
    else if (key == "code" && pair.size() == 2) t.exchangesPerCode[pair[0].toInt()] += pair[1].toInt();
    else if (key == "failure") t.failures << value;
  }
  return t;
}

QByteArray SoakTally::Report() const {
  QByteArray out;
  out += "exchanges " + QByteArray::number(exchanges) + ", wrong outcomes " + QByteArray::number(wrongOutcomes) +
         ", overlong " + QByteArray::number(overlong) + "\n";
  out += "longest exchange " + QByteArray::number(maxMs, 'f', 0) + " ms; highest duration/bound " +
         QByteArray::number(maxRatio, 'f', 2) + "; mean " +
         QByteArray::number(exchanges ? totalMs / exchanges : 0, 'f', 0) + " ms\n";
  out += "attempts per fault:\n";
  for (const auto& [k, v] : attemptsPerFault) out += "  " + k.leftJustified(16) + QByteArray::number(v) + "\n";
  out += "exchanges per result code:\n";
  for (const auto& [k, v] : exchangesPerCode)
    out += "  " + QByteArray::number(k).leftJustified(16) + QByteArray::number(v) + "\n";
  for (const QByteArray& f : failures) out += "FAILED " + f + "\n";
  return out;
}

}  // namespace pralix::soak
