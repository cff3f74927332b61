#pragma once
// The figures of a soak run: attempts per fault, exchanges per result code,
// the checks that failed and the longest exchange against its bound.  One
// tally per lane, merged at the end.

#include <QByteArray>
#include <QList>
#include <map>

namespace pralix::soak {

struct SoakTally {
  int exchanges = 0;
  int wrongOutcomes = 0;  // wrong code, wrong frame count, a reply that leaked
  int overlong = 0;       // longer than the bound allows
  double maxMs = 0;       // the longest exchange
  double maxRatio = 0;    // the highest duration / bound
  double totalMs = 0;
  std::map<QByteArray, int> attemptsPerFault;  // "silent", "nak", "+receipt" ...
  std::map<int, int> exchangesPerCode;
  QList<QByteArray> failures;  // the first few, described

  void Merge(const SoakTally& other);
  // Lines "key value" for a pipe between processes, and back.
  QByteArray Serialize() const;
  static SoakTally Parse(const QByteArray& text);
  // The report printed at the end of a run.
  QByteArray Report() const;

  static constexpr int kFailuresKept = 20;
};

}  // namespace pralix::soak
