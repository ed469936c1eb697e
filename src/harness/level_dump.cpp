// What the state dump shows of the level. Field names are the game's own.
#include "harness/level_dump.hpp"

#include <map>
#include <string>

#include "app/game_state.hpp"
#include "game/enemy_kinds.hpp"
#include "game/kinds.hpp"

using json = nlohmann::ordered_json;

namespace {

json AnimJson(const cAnim& a) {
  return json{{"current", a.current},
              {"firstFrame", a.firstFrame},
              {"frameCount", a.frameCount},
              {"playing", a.playing},
              {"oneShot", a.oneShot},
              {"mirrored", a.mirrored},
              {"frameDuration", a.frameDuration}};
}

json AnimsJson(const CharacterRecord& d) {
  json list = json::array();
  for (const AnimEntry& e : d.anims) {
    list.push_back({{"firstFrame", e.firstFrame}, {"frameCount", e.frameCount}, {"rate", e.rate}});
  }
  return list;
}

json DefinitionJson(const Unit& u) {
  return json{{"kind", u.kind},
              {"x", u.x},
              {"y", u.y},
              {"boxLeft", u.boxLeft},
              {"boxTop", u.boxTop},
              {"boxRight", u.boxRight},
              {"boxBottom", u.boxBottom},
              {"activation", u.activation},
              {"spriteSize", u.spriteSize},
              {"speed", u.speed},
              {"life", u.life},
              {"damage", u.damage},
              {"collisionMode", u.collisionMode}};
}

// A field of one kind's own state: the unit's value if it is of that kind, else zero, as every
// unit of another kind holds it.
template <class S, class T>
T KindField(const Unit& u, T S::*field) {
  return u.kind == S::kKind ? KindStateOf<S>(u).*field : T{};
}

json RuntimeJson(const Unit& u) {
  return json{{"hoverNear", KindField(u, &SentinelKeptState::hoverNear)},
              {"hoverPhase", KindField(u, &SentinelKeptState::hoverPhase)},
              {"fireTimer", KindField(u, &SentinelKeptState::fireTimer)},
              {"firePeriod", KindField(u, &SentinelKeptState::firePeriod)},
              {"jumpTime", u.jumpTime},
              {"airborne", u.airborne},
              {"fireNow", u.fireNow},
              {"idle", u.idle},
              {"moving", u.moving},
              {"jumping", u.jumping},
              {"facingLeft", u.facingLeft},
              {"attack", u.attack},
              {"deathDone", u.deathDone},
              {"stunned", u.stunned},
              {"crouching", u.crouching},
              {"launched", KindField(u, &GuardPlayState::launched)},
              {"deathTime", u.deathTime},
              {"stunTime", u.stunTime},
              {"attackTime", u.attackTime},
              {"cryTime", KindField(u, &GuardPlayState::cryTime)},
              {"blowSoundGate", u.blowSoundGate},
              {"headOff", u.headOff},
              {"attackVariant", KindField(u, &GolemPlayState::attackVariant)},
              {"stunLength", u.stunLength},
              {"soundPick", KindField(u, &GuardKeptState::soundPick)},
              {"commentPick", u.commentPick},
              {"shotLatch", KindField(u, &SentinelKeptState::shotLatch)},
              {"shockLatch", u.shockLatch},
              {"commentLatch", u.commentLatch},
              {"painLatch", u.painLatch},
              {"swingLatch", u.swingLatch},
              {"impactLatch", u.impactLatch},
              {"launchLock", KindField(u, &GuardPlayState::launchLock)},
              {"pushDir", u.pushDir},
              {"deathEffect", u.deathEffect},
              {"charging", KindField(u, &SentinelPlayState::charging)},
              {"hoverAmpX", KindField(u, &SentinelKeptState::hoverAmpX)},
              {"hoverAmpY", KindField(u, &SentinelKeptState::hoverAmpY)},
              {"launchPhase", KindField(u, &GuardKeptState::launchPhase)},
              {"inRange", u.inRange},
              {"animIndex", u.animIndex},
              {"hitNow", u.hitNow},
              {"activated", u.activated},
              {"idlePick", KindField(u, &GolemKeptState::idlePick)},
              {"pushTime", KindField(u, &SentinelKeptState::pushTime)},
              {"idleTime", KindField(u, &GolemKeptState::idleTime)},
              {"idlePeriod", KindField(u, &GolemKeptState::idlePeriod)},
              {"killScored", u.killScored},
              {"shotTaken", KindField(u, &SentinelPlayState::shotTaken)},
              {"swingArmed", KindField(u, &GuardPlayState::swingArmed)},
              {"fellOut", u.fellOut}};
}

json UnitsJson() {
  json list = json::array();
  for (int i = 0; i < gameState.map.CharCount && i < kMaxUnits; ++i) {
    const Unit& u = gameState.play.units[i];
    json j = DefinitionJson(u);
    j.update(RuntimeJson(u));
    j["anims"] = AnimsJson(u);
    if (u.anim) j["anim"] = AnimJson(*u.anim);
    list.push_back(j);
  }
  return list;
}

json ItemsJson() {
  json list = json::array();
  const LevelMap& map = gameState.map;
  for (int i = 0; i < map.ItemCount && i < kMaxItems; ++i) {
    const cItem* item = gameState.play.items.items[i].get();
    if (!item) continue;
    list.push_back({{"kind", item->kind},
                    {"x", map.ItemPos[i].x},
                    {"y", map.ItemPos[i].y},
                    {"picked", item->picked},
                    {"gone", item->gone},
                    {"pickTime", item->pickTime},
                    {"rise", item->rise}});
  }
  return list;
}

json ComboJson(const ComboState& c) {
  return json{{"attackKind", c.attackKind},         {"comboActive", c.comboActive},
              {"comboCount", c.comboCount},         {"comboClock", c.comboClock},
              {"comboLevel", c.comboLevel},         {"comboDeadline", c.comboDeadline},
              {"attackCooldown", c.attackCooldown}, {"attackLatch", c.attackLatch}};
}

json StatsJson(const LevelStats& s) {
  json j{{"points", s.points}, {"timeTaken", s.timeTaken}};
  // The kill counts by their names, in the order of the names.
  std::map<std::string, int32_t> kills;
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (const char* name = kKinds[kind].statistics.dumpName) kills[name] = s.kills[kind];
  }
  for (const auto& [name, count] : kills) j[name] = count;
  j["headsRemoved"] = s.headsRemoved;
  j["combo7Count"] = s.combo7Count;
  j["combo7Counted"] = s.combo7Counted;
  return j;
}

}  // namespace

void AddLevelToDump(json& dump) {
  const GamePlay& play = gameState.play;
  const LevelMap& map = gameState.map;
  dump["camera"] = {{"cameraX", play.cameraX}, {"cameraY", play.cameraY}};
  dump["map"] = {{"Width", map.Width},
                 {"Height", map.Height},
                 {"CharCount", map.CharCount},
                 {"ItemCount", map.ItemCount}};
  dump["units"] = UnitsJson();
  dump["combo"] = ComboJson(play.combo);
  dump["powerUp"] = {{"powerUpCharges", play.powerUpCharges},
                     {"powerUpActive", play.powerUpActive}};
  dump["items"] = ItemsJson();
  dump["levelStats"] = StatsJson(play.levelStats);
  dump["deathFade"] = play.deathFade;
  dump["lastHitKind"] = play.lastHitKind;
  dump["bonusDamage"] = play.bonusDamage;
}
