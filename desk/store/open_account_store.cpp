#include "store/open_account_store.h"

#include "store/migrated_connection.h"
#include "store/sql_account_store.h"

namespace pralix::desk {

std::unique_ptr<AccountStore> OpenAccountStore(const DatabaseUrl& url, qint64 nowMs) {
  MigratedConnection opened = OpenMigratedConnection(url, nowMs);
  return std::make_unique<SqlAccountStore>(std::move(opened.dialect), std::move(opened.connection));
}

}  // namespace pralix::desk
