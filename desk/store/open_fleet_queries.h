#pragma once
// The fleet's reads for a database URL, on a connection of their own that
// is opened again after a failure (a restarted PostgreSQL, say).

#include <functional>
#include <memory>

#include "store/database_url.h"
#include "store/fleet_queries.h"

namespace pralix::desk {

// Connects at the first read, on the thread that reads; the schema must
// already be migrated (the record writer does that at start).
std::unique_ptr<FleetQueries> OpenFleetQueries(const DatabaseUrl& url);

}  // namespace pralix::desk
