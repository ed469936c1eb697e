// The level's part of the state dump: camera, map, units, combo, power-up, items, statistics.
#pragma once

#include <nlohmann/json.hpp>

// Adds the level's objects to `dump` under their own names.
void AddLevelToDump(nlohmann::ordered_json& dump);
