// The kinds' rows.
#include "game/kinds.hpp"

#include "game/animation_select.hpp"
#include "game/enemy_kinds.hpp"
#include "game/scoring.hpp"

// clang-format off
// blow rule, blocks the player, points (head on, head off), kill count,
// behaviour, sounds, blow on the player, animation, full-combo count, shake, blow taken
const std::array<KindRules, 4> kKindRules = {{
    // The player: its own sounds and blows are the player's code's.
    {BlowRule::Never, true, {0, 0}, nullptr,
     nullptr, nullptr, nullptr, SelectPlayer, nullptr, nullptr, nullptr},
    {BlowRule::Lands, false, {10, 10}, &LevelStats::sentinelKills,
     UpdateSentinel, SentinelSounds, SentinelShoots, SelectSentinel, nullptr, nullptr, nullptr},
    // Only guards lose their heads, and are worth more without one.
    {BlowRule::WhenFaced, true, {20, 50}, &LevelStats::guardKills,
     UpdateGuard, GuardSounds, GuardStrikes, SelectGuard, nullptr, nullptr, GuardTakesBlow},
    {BlowRule::WhenFaced, true, {50, 50}, &LevelStats::golemKills,
     UpdateGolem, GolemSounds, GolemStrikes, SelectGolem, CountFullCombo, ShakeForFallenGolem,
     GolemTakesBlow},
}};
const KindRules kUnnamedKindRules{BlowRule::WhenFaced, true, {0, 0}, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
// clang-format on
