// pralix-desk-fill: a made-up but plausible fleet in a new desk database,
// for trying the desk's pages and measuring them at size.

#include <QCoreApplication>
#include <QTextStream>
#include <chrono>
#include <cstdio>

#include "fill_options.h"
#include "fleet_fill.h"
#include "sql_fleet_sink.h"
#include "store/desk_store.h"

int main(int argc, char** argv) {
  using namespace pralix::desk;
  QCoreApplication application(argc, argv);  // Qt SQL loads its drivers through it
  QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
    std::fputs(fill::kFillUsage, stdout);
    return 0;
  }
  QString error;
  const std::optional<fill::FillOptions> options = fill::ParseFillOptions(arguments, &error);
  if (!options) {
    std::fprintf(stderr, "pralix-desk-fill: %s\n%s", qPrintable(error), fill::kFillUsage);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  try {
    fill::SqlFleetSink sink(options->database);
    int shown = -1;
    const fill::FillTimes times = fill::FillFleet(options->shape, sink, [&shown](double share) {
      if (int(share * 10) == shown) return;
      shown = int(share * 10);
      std::fprintf(stderr, "%d%%\n", shown * 10);
    });
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d printers and %lld records in %s in %.1f s (plan %.1f s, records %.1f s, printers %.1f s)\n",
                options->shape.printers, static_cast<long long>(options->shape.records),
                qPrintable(options->database.display()), total, times.scheduleSeconds, times.recordsSeconds,
                times.printersSeconds);
  } catch (const StoreFailure& failure) {
    std::fprintf(stderr, "pralix-desk-fill: %s\n", failure.what());
    return 1;
  }
  return 0;
}
