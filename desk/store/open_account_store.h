#pragma once
// The account store for a database URL: connected, its schema migrated to
// the latest version, ready on the calling thread.

#include <memory>

#include "store/account_store.h"
#include "store/database_url.h"

namespace pralix::desk {

// Throws StoreFailure with a one-line message as OpenDeskStore does.
std::unique_ptr<AccountStore> OpenAccountStore(const DatabaseUrl& url, qint64 nowMs);

}  // namespace pralix::desk
