#pragma once
// Migration 3: the fleet's sort indexes.

#include "store/migrations.h"

namespace pralix::desk {

Migration FleetSortIndexes();

}  // namespace pralix::desk
