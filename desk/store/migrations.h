#pragma once
// The desk's schema as an ordered, append-only list of migrations: a new
// table or index is a new entry at the end with the next version; an entry
// that has shipped is never edited.  Statements use the dialect's
// {placeholders}, so both databases get the same schema.

#include <QStringList>
#include <vector>

namespace pralix::desk {

struct Migration {
  int version;
  const char* name;
  QStringList statements;
};

std::vector<Migration> DeskMigrations();

// The version the last migration leaves.
int LatestSchemaVersion();

}  // namespace pralix::desk
