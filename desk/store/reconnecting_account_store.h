#pragma once
// The account store as the running desk uses it: connected at the first
// call on the thread that makes it, connected again after a failure (a
// restarted PostgreSQL, say).  The schema must already be migrated.

#include <memory>

#include "store/account_store.h"
#include "store/database_url.h"

namespace pralix::desk {

std::unique_ptr<AccountStore> OpenReconnectingAccountStore(const DatabaseUrl& url);

}  // namespace pralix::desk
