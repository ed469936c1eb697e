// The kinds' rows.
#include "game/kinds.hpp"

#include <array>

#include "base/unit_kinds.hpp"
#include "game/animation_select.hpp"
#include "game/enemy_kinds.hpp"
#include "game/unit_sounds.hpp"

namespace {
// Rows in the order of UnitKind.
constexpr std::array<KindRules, 4> kRules = {{
    {BlowRule::Never,
     true,
     {0, 0},
     nullptr,
     nullptr,
     nullptr,
     nullptr,
     SelectPlayer},  // the player (its own
                     // sounds)
    {BlowRule::Lands,
     false,
     {10, 10},
     &LevelStats::sentinelKills,
     UpdateSentinel,
     SentinelSounds,
     SentinelShoots,
     SelectSentinel},
    // Only guards lose their heads, and are worth more without one.
    {BlowRule::WhenFaced,
     true,
     {20, 50},
     &LevelStats::guardKills,
     UpdateGuard,
     GuardSounds,
     GuardStrikes,
     SelectGuard},
    {BlowRule::WhenFaced,
     true,
     {50, 50},
     &LevelStats::golemKills,
     UpdateGolem,
     GolemSounds,
     GolemStrikes,
     SelectGolem},
}};
constexpr KindRules kUnnamedRules{
    BlowRule::WhenFaced, true, {0, 0}, nullptr, nullptr, nullptr, nullptr, nullptr};
}  // namespace

const KindRules& RulesOf(int32_t kind) {
  if (kind >= kPlayer && kind <= kGolem) return kRules[static_cast<std::size_t>(kind)];
  return kUnnamedRules;
}
