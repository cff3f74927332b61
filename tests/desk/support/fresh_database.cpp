#include "support/fresh_database.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include "store/database_url.h"
#include "store/open_desk_store.h"
#include "support/postgres_cluster.h"

namespace pralix::desk::test {

std::ostream& operator<<(std::ostream& out, DatabaseKind kind) {
  return out << (kind == DatabaseKind::Sqlite ? "SQLite" : "PostgreSQL");
}

std::string KindName(const ::testing::TestParamInfo<DatabaseKind>& info) {
  return info.param == DatabaseKind::Sqlite ? "SQLite" : "PostgreSQL";
}

FreshDatabase::FreshDatabase(DatabaseKind kind) {
  if (kind == DatabaseKind::Sqlite) {
    url_ = QStringLiteral("sqlite:") + folder_.filePath(QStringLiteral("desk.sqlite"));
    return;
  }
  PostgresCluster* cluster = PostgresCluster::instance();
  if (cluster == nullptr || !cluster->running()) {
    whyNot_ = cluster ? cluster->whyNot() : QStringLiteral("no PostgreSQL cluster in this test program");
    return;
  }
  url_ = cluster->createDatabase();
}

std::unique_ptr<DeskStore> FreshDatabase::open() const {
  QString error;
  const std::optional<DatabaseUrl> url = ParseDatabaseUrl(url_, &error);
  if (!url) throw StoreFailure(error);
  return OpenDeskStore(*url, QDateTime::currentMSecsSinceEpoch());
}

}  // namespace pralix::desk::test
