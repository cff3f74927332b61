#pragma once
// The store for a database URL: connected, its schema migrated to the
// latest version, ready on the calling thread.

#include <memory>

#include "store/database_url.h"
#include "store/desk_store.h"

namespace pralix::desk {

// Throws StoreFailure with a one-line message when the database cannot be
// reached, a migration fails, or the schema is newer than this desk knows.
// An SQLite file's folder is made when missing.
std::unique_ptr<DeskStore> OpenDeskStore(const DatabaseUrl& url, qint64 nowMs);

}  // namespace pralix::desk
