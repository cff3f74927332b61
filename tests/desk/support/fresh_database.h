#pragma once
// A new, empty desk database for one test: an SQLite file in a temporary
// folder, or a new database in the test program's PostgreSQL cluster.

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include <gtest/gtest.h>

#include "store/desk_store.h"

namespace pralix::desk::test {

enum class DatabaseKind { Sqlite, Postgresql };

std::ostream& operator<<(std::ostream& out, DatabaseKind kind);
// For INSTANTIATE_TEST_SUITE_P names.
std::string KindName(const ::testing::TestParamInfo<DatabaseKind>& info);

class FreshDatabase {
 public:
  explicit FreshDatabase(DatabaseKind kind);

  // False (with the reason) when PostgreSQL is not there: the test skips.
  bool available() const { return !url_.isEmpty(); }
  const QString& whyNot() const { return whyNot_; }
  const QString& url() const { return url_; }
  // The store on it, migrated (a new connection on the calling thread).
  std::unique_ptr<DeskStore> open() const;

 private:
  QTemporaryDir folder_;
  QString url_;
  QString whyNot_;
};

}  // namespace pralix::desk::test

// Skips the test when its database cannot be had.
#define SKIP_WITHOUT(database) \
  if (!(database).available()) GTEST_SKIP() << (database).whyNot().toStdString()
