// The desk's test program: one PostgreSQL cluster for all its tests, and an
// application object for Qt's event loop and SQL drivers.

#include <QCoreApplication>
#include <gtest/gtest.h>

#include "support/postgres_cluster.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  auto* cluster = new pralix::desk::test::PostgresCluster;  // GoogleTest owns it
  pralix::desk::test::PostgresCluster::setInstance(cluster);
  ::testing::AddGlobalTestEnvironment(cluster);
  return RUN_ALL_TESTS();
}
