#pragma once
// Random numbers that depend only on the seed and on what they are for (a
// printer, one of its tests), never on the order things are drawn in or on
// the standard library's distributions (which differ between libraries), so
// that one seed gives the same fleet everywhere.

#include <QtGlobal>
#include <initializer_list>

namespace pralix::desk::fill {

class FillRandom {
 public:
  // A stream for the seed and up to a few numbers naming its use.
  FillRandom(quint64 seed, std::initializer_list<quint64> use) : state_(seed) {
    for (const quint64 part : use) state_ = Mix(state_ ^ Mix(part + 0x9E3779B97F4A7C15ULL));
  }

  quint64 next() { return Mix(state_ += 0x9E3779B97F4A7C15ULL); }
  // 0 .. n-1 (n > 0).
  int below(int n) { return int(next() % quint64(n)); }
  // lowest .. highest, both included.
  int between(int lowest, int highest) { return lowest + below(highest - lowest + 1); }
  // [0, 1).
  double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
  bool chance(double p) { return unit() < p; }

 private:
  // splitmix64's finaliser.
  static quint64 Mix(quint64 z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  quint64 state_;
};

}  // namespace pralix::desk::fill
