// The effects' and the statistics screen's part of the state dump.
#pragma once

#include <nlohmann/json.hpp>

// Adds "effects" (bolt, sky flash, power-up flash, shake, fountain clock) and "statistics" (the
// enemy totals the statistics screen counted) to `dump`.
void AddEffectsToDump(nlohmann::ordered_json& dump);
