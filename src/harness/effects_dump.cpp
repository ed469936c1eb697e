// What the state dump shows of the effects and of the statistics screen's totals.
#include "harness/effects_dump.hpp"

#include "app/game_state.hpp"
#include "game/kinds.hpp"
#include "ui/statistics.hpp"

void AddEffectsToDump(nlohmann::ordered_json& dump) {
  const EffectsState& fx = gameState.fx;
  dump["effects"] = {{"boltActive", fx.boltActive},
                     {"boltIntensity", fx.boltIntensity},
                     {"skyTimer", fx.skyTimer},
                     {"nextFlash", fx.nextFlash},
                     {"flashAlpha", fx.flashAlpha},
                     {"flashHold", fx.flashHold},
                     {"thunderPlaying", fx.thunderPlaying},
                     {"whiteFlashOpacity", fx.whiteFlashOpacity},
                     {"shakeTimer", gameState.play.shakeTimer},
                     {"particleClock", fx.bloodParticles.clock}};
  const StatisticsScreen& s = statisticsScreen;
  nlohmann::ordered_json totals = nlohmann::ordered_json::object();
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (const char* name = kKinds[kind].statistics.totalName) totals[name] = s.totals[kind];
  }
  dump["statistics"] = totals;
}
