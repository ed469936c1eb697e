// The kinds' rows.
#include "game/kinds.hpp"

#include <algorithm>

#include "game/animation_select.hpp"
#include "game/enemy_kinds.hpp"
#include "game/scoring.hpp"
#include "game/unit_sounds.hpp"

namespace {

constexpr SoundFile kPlayerSounds[] = {
    {player_sound::kStep1, "DATA\\sounds\\units\\ravik\\step1.wav"},
    {player_sound::kStep2, "DATA\\sounds\\units\\ravik\\step2.wav"},
    {player_sound::kStep3, "DATA\\sounds\\units\\ravik\\step3.wav"},
    {player_sound::kStep4, "DATA\\sounds\\units\\ravik\\step4.wav"},
    {player_sound::kImpactSteel, "DATA\\sounds\\units\\ravik\\impact_steal.wav"},
    {player_sound::kImpactFlesh, "DATA\\sounds\\units\\ravik\\impact_flesh.wav"},
    {player_sound::kSwing1, "DATA\\sounds\\units\\ravik\\hit1.wav"},
    {player_sound::kSwing2, "DATA\\sounds\\units\\ravik\\hit2.wav"},
    {player_sound::kSwing3, "DATA\\sounds\\units\\ravik\\hit3.wav"},
    {player_sound::kSwing4, "DATA\\sounds\\units\\ravik\\hit4.wav"},
    {player_sound::kJump, "DATA\\sounds\\units\\ravik\\jump.wav"},
    {player_sound::kPain, "DATA\\sounds\\units\\ravik\\pain1.wav"},
    {player_sound::kDeath, "DATA\\sounds\\units\\ravik\\death.wav"},
};
constexpr SoundFile kSentinelSounds[] = {
    {sentinel_sound::kAttack, "DATA\\sounds\\units\\Sentinel\\attack.wav"},
    {sentinel_sound::kMoving, "DATA\\sounds\\units\\Sentinel\\moving.wav"},
    {sentinel_sound::kShocked, "DATA\\sounds\\units\\Sentinel\\shocked.wav"},
};
constexpr SoundFile kGuardSounds[] = {
    {guard_sound::kCry0, "DATA\\sounds\\units\\guard\\cry0.wav"},
    {guard_sound::kCry1, "DATA\\sounds\\units\\guard\\cry1.wav"},
    {guard_sound::kCry2, "DATA\\sounds\\units\\guard\\cry2.wav"},
    {guard_sound::kCry3, "DATA\\sounds\\units\\guard\\cry3.wav"},
    {guard_sound::kCry4, "DATA\\sounds\\units\\guard\\cry4.wav"},
    {guard_sound::kPain, "DATA\\sounds\\units\\guard\\pain1.wav"},
    {guard_sound::kHit, "DATA\\sounds\\units\\guard\\hit.wav"},
    {guard_sound::kHeadOff, "DATA\\sounds\\units\\guard\\death_head_Of_1.wav"},
    {guard_sound::kHeadOff2, "DATA\\sounds\\units\\guard\\death_head_Of_2.wav"},
    {guard_sound::kDeath, "DATA\\sounds\\units\\guard\\death_1.wav"},
    {guard_sound::kDeath2, "DATA\\sounds\\units\\guard\\death_2.wav"},
    {guard_sound::kDeath3, "DATA\\sounds\\units\\guard\\death_3.wav"},
    {guard_sound::kDeath4, "DATA\\sounds\\units\\guard\\death_4.wav"},
    {guard_sound::kDeath5, "DATA\\sounds\\units\\guard\\death_5.wav"},
};
constexpr SoundFile kGolemSounds[] = {
    {golem_sound::kStep, "DATA\\sounds\\units\\Golem\\step1.wav"},
    {golem_sound::kIdle, "DATA\\sounds\\units\\Golem\\golem_idle1.wav"},
    {golem_sound::kIdle2, "DATA\\sounds\\units\\Golem\\golem_idle2.wav"},
    {golem_sound::kDie, "DATA\\sounds\\units\\Golem\\die.wav"},
    {golem_sound::kShock, "DATA\\sounds\\units\\Golem\\shock.wav"},
};

constexpr uint8_t kPlayerAnimations[] = {0, 1, 2, 4, 5, 6, 7, 8, 10, 11};
constexpr uint8_t kSentinelAnimations[] = {0, 1, 2};
constexpr uint8_t kGuardAnimations[] = {0, 1, 2, 4, 10, 11};
constexpr uint8_t kGolemAnimations[] = {0, 1, 2, 4, 5, 10, 17};
constexpr BlowFrame kGuardBlows[] = {{4, kGuardStrikeFrame}};
constexpr BlowFrame kGolemBlows[] = {{4, kGolemBlow1Frame}, {5, kGolemBlow2Frame}};

// clang-format off
constexpr KindRow kRows[] = {
    // The player: first and alone, placed with the level; its own sounds and blows are the
    // player's code's.
    {"player", "the player", 0, "P", {0.4f, 1, 0.4f, 1}, {-14, -46, 14, 56},
     "data\\chars\\ravik.pud", "data\\chars\\ravik\\", 2,
     kPlayerAnimations, {}, kPlayerSounds, true, true,
     {nullptr, nullptr, nullptr, false, false},
     {BlowRule::Never, true, {0, 0},
      nullptr, nullptr, nullptr, SelectPlayer, nullptr, nullptr, nullptr, nullptr},
     UnitEffects::None},
    {"sentinel", "a sentinel", 'S', "S", {0.4f, 0.7f, 1, 1}, {-22, -22, 22, 24},
     "data\\chars\\Sentinel.pud", "data\\chars\\Sentinel\\", 0,
     kSentinelAnimations, {}, kSentinelSounds, false, false,
     {"sentinels kills ", "sentinelKills", "sentinelTotal", false, false},
     {BlowRule::Lands, false, {10, 10},
      UpdateSentinel, SentinelSounds, SentinelShoots, SelectSentinel, nullptr, nullptr, nullptr,
      ArmSentinelExplosion},
     UnitEffects::BoltAndExplosion},
    // Only guards lose their heads, and are worth more without one.
    {"guard", "a guard", 'G', "G", {1, 0.35f, 0.3f, 1}, {-15, -48, 15, 56},
     "data\\chars\\guard.pud", "data\\chars\\guard\\", 3,
     kGuardAnimations, kGuardBlows, kGuardSounds, false, false,
     {"guards kills    ", "guardKills", "guardTotal", true, false},
     {BlowRule::WhenFaced, true, {20, 50},
      UpdateGuard, GuardSounds, GuardStrikes, SelectGuard, nullptr, nullptr, GuardTakesBlow,
      nullptr},
     UnitEffects::Blood},
    {"golem", "a golem", 'O', "O", {1, 0.9f, 0.2f, 1}, {-34, -84, 34, 108},
     "data\\chars\\golam.pud", "data\\chars\\golam\\", 1,
     kGolemAnimations, kGolemBlows, kGolemSounds, false, true,
     {"golams kills    ", "golemKills", "golemTotal", false, true},
     {BlowRule::WhenFaced, true, {50, 50},
      UpdateGolem, GolemSounds, GolemStrikes, SelectGolem, CountFullCombo, ShakeForFallenGolem,
      GolemTakesBlow, nullptr},
     UnitEffects::None},
};
// clang-format on

static_assert(std::size(kRows) <= kKindSlots, "a map names kinds 0..9 only");

}  // namespace

const std::span<const KindRow> kKinds = kRows;

const KindRow kUnnamedKind{"",
                           "a character",
                           0,
                           "?",
                           {0.7f, 0.7f, 0.7f, 1},
                           {},
                           nullptr,
                           nullptr,
                           0,
                           {},
                           {},
                           {},
                           false,
                           false,
                           {nullptr, nullptr, nullptr, false, false},
                           {BlowRule::WhenFaced,
                            true,
                            {0, 0},
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr},
                           UnitEffects::None};

std::vector<std::size_t> KindsInFrameLoadOrder() {
  std::vector<std::size_t> order(kKinds.size());
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) order[kind] = kind;
  std::stable_sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
    return kKinds[a].framesLoadRank < kKinds[b].framesLoadRank;
  });
  return order;
}
