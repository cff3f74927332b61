#pragma once
// How long an exchange waits for a printer that may not be there.

namespace pralix {

enum class ExchangeWait {
  // The engine's bounds: four attempts of seven silent reads.
  Full,
  // The port walk: when not one byte arrives within one read after the first
  // request, the port is empty (code 3) at once.  Once any byte has arrived
  // the exchange runs with the full bounds.
  ShortFirst,
  // Looking for a printer of unknown speed: the short first wait, one attempt,
  // every later wait one read, and at most kProbeMaxStrayBytes bytes that
  // are not a frame start.  At a wrong speed a printer's answer is garbage,
  // so only a valid frame in that one attempt counts.
  Probe,
};

inline constexpr int kProbeMaxStrayBytes = 64;

}  // namespace pralix
