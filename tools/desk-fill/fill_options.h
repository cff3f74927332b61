#pragma once
// pralix-desk-fill's command line.

#include <QStringList>
#include <optional>

#include "fleet_schedule.h"
#include "store/database_url.h"

namespace pralix::desk::fill {

struct FillOptions {
  DatabaseUrl database;
  FleetShape shape;
};

inline constexpr char kFillUsage[] =
    "usage: pralix-desk-fill --database URL [--printers N] [--records M] [--seed S] [--end YYYY-MM-DD] [--days D]\n"
    "Fills a new desk database (sqlite:PATH or postgresql://...) with N printers (default 1000, at most\n"
    "1000000) and M records (default 20000, at least N) over the D days (default 730) before END\n"
    "(default 2026-12-01, 00:00 UTC).  The same seed, sizes and dates give the same database.\n";

// The options, or nothing with the reason in error.
std::optional<FillOptions> ParseFillOptions(const QStringList& arguments, QString* error);

}  // namespace pralix::desk::fill
