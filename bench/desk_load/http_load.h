#pragma once
// Load on an HTTP server over loopback from one thread (epoll), so that 64
// clients cost the machine one thread, not 64: keep-alive connections that
// each send a request, wait for its whole answer and go on.
//
// Closed loop: every connection sends its next request as soon as the last
// one is answered.  Open loop: requests are due on a fixed schedule whatever
// the server does; a due request waits for a free connection, and its
// latency counts from the time it was due (so a slow server cannot hide its
// queue by slowing the sender down).

#include <QByteArray>
#include <functional>
#include <vector>

namespace pralix::bench {

// The next request's bytes, whole (headers and body).
using RequestMaker = std::function<QByteArray()>;

struct LoadOutcome {
  int answered = 0;              // within the measured window, status 200
  int failed = 0;                // another status, or the connection broke
  double seconds = 0;            // the measured window
  std::vector<double> latencyMs; // of each request answered in the window

  double perSecond() const { return seconds > 0 ? answered / seconds : 0; }
  // The q-quantile (0.5, 0.99) of latencyMs; 0 without any.
  double quantileMs(double q) const;
};

// clients connections in a closed loop.  Requests answered during the first
// warmupSeconds are not counted; then the window lasts seconds.  Every
// request sent is answered (or fails) before this returns.
LoadOutcome RunClosedLoop(quint16 port, int clients, const RequestMaker& next, double warmupSeconds, double seconds);

// perSecond requests a second on a schedule, over up to connections
// connections, for warmupSeconds + seconds; only those due in the window count.
LoadOutcome RunOpenLoop(quint16 port, double perSecond, int connections, const RequestMaker& next, double warmupSeconds,
                        double seconds);

}  // namespace pralix::bench
