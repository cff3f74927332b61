#include "store/open_desk_store.h"

#include "store/migrated_connection.h"
#include "store/sql_desk_store.h"

namespace pralix::desk {

std::unique_ptr<DeskStore> OpenDeskStore(const DatabaseUrl& url, qint64 nowMs) {
  MigratedConnection opened = OpenMigratedConnection(url, nowMs);
  return std::make_unique<SqlDeskStore>(std::move(opened.dialect), std::move(opened.connection));
}

}  // namespace pralix::desk
