#pragma once
// Pages read as one person clicking through the desk: one keep-alive
// connection, one request at a time, each timed from its first byte sent
// to its answer's last byte read; and a streamed answer (the fleet's CSV)
// read to its end while only counted, never kept.

#include <QByteArray>
#include <vector>

#include "support/raw_http.h"

namespace pralix::bench {

struct PageSeries {
  std::vector<double> latencyMs;  // of each counted answer with status 200
  int failed = 0;                 // another status, or the connection broke
  QByteArray firstFailure;        // what the first failure was, for the table

  // The q-quantile (0.5, 0.95) of latencyMs; 0 without any.
  double quantileMs(double q) const;
};

// warmup + count GETs of paths in turn (warm-up ones not counted), with
// the headers (the session cookie); a broken connection is opened again.
PageSeries TimeGets(quint16 port, const desk::test::Headers& headers, const std::vector<QByteArray>& paths, int warmup,
                    int count);

struct StreamedAnswer {
  int status = 0;         // 0: no whole answer
  qint64 bodyBytes = 0;   // decoded
  qint64 lines = 0;       // newlines in the body
  int chunks = 0;
  double firstByteMs = 0; // request sent to the first byte of the answer
  double totalMs = 0;     // to the last byte
  QByteArray error;       // why it is not whole
};

StreamedAnswer StreamGet(quint16 port, const desk::test::Headers& headers, const QByteArray& path);

}  // namespace pralix::bench
