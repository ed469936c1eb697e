// What the state dump holds. Field names are the game's own names.
#include "harness/state_dump.hpp"

#include <cstdio>
#include <fstream>

#include "app/bindings.hpp"
#include "app/game_state.hpp"
#include "app/input.hpp"
#include "audio/audio_device.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"
#include "gfx/renderer.hpp"
#include "harness/effects_dump.hpp"
#include "harness/level_dump.hpp"

using json = nlohmann::ordered_json;

namespace {
json Flags(const ModeFlags& f) {
  return json{{"inGame", f.inGame},
              {"quitRequested", f.quitRequested},
              {"levelFinished", f.levelFinished},
              {"paused", f.paused},
              {"restartRequested", f.restartRequested},
              {"introDone", f.introDone},
              {"menuLoaded", f.menuLoaded},
              {"trainerLoaded", f.trainerLoaded},
              {"statsLoaded", f.statsLoaded},
              {"menuShown", f.menuShown},
              {"optionsShown", f.optionsShown},
              {"trainerShown", f.trainerShown},
              {"statsShown", f.statsShown},
              {"mouseLeftDown", f.mouseLeftDown},
              {"mouseRightDown", f.mouseRightDown},
              {"levelLoaded", f.levelLoaded}};
}

json SettingsJson(const Settings& s) {
  return json{{"musicVolume", s.musicVolume},
              {"soundVolume", s.soundVolume},
              {"gamma", s.gamma},
              {"displayMode", s.displayMode},
              {"showBlood", s.showBlood}};
}

json InputStates() {
  json list = json::array();
  for (int s = 0; s < kInputStateCount; ++s) {
    if (DXInput1.Has(s)) list.push_back(InputStateName(s));
  }
  return list;
}

json Sounds() {
  json list = json::array();
  if (!backends.audio) return list;
  for (const StreamInfo& s : backends.audio->Streams()) {
    list.push_back({{"path", s.path},
                    {"position", s.position},
                    {"length", s.length},
                    {"playing", s.playing},
                    {"volume", s.volume}});
  }
  return list;
}

json Messages() {
  json list = json::array();
  for (const ShownMessage& m : shownMessages) {
    list.push_back({{"caption", m.caption}, {"text", m.text}});
  }
  return list;
}

// Each action's keys and buttons as settings.cfg writes them.
json BindingsJson() {
  json j = json::object();
  for (std::size_t a = 0; a < kActionCount; ++a) {
    j[kActionNames[a]] = BindingText(gameState.bindings[a]);
  }
  return j;
}

json DrawRecordJson(const DrawRecord& r) {
  json j{{"op", r.op}};
  if (r.op == "present") return j;
  bool textured = r.op != "line";
  if (textured) {
    j["texture"] = r.texture;
    j["texturePath"] = r.texturePath;
  }
  j["x"] = r.x;
  j["y"] = r.y;
  // Text has no depth of its own (it always lies at z 0.2).
  if (r.op != "text") j["depth"] = r.depth;
  if (r.op == "quad" || r.op == "anim" || r.op == "line") {
    j["w"] = r.w;
    j["h"] = r.h;
  }
  if (r.op == "quad" || r.op == "line") j["alpha"] = r.alpha;
  if (r.op == "anim") j["mirrored"] = r.mirrored;
  if (r.op == "text") {
    j["text"] = Cp1257ToUtf8(r.text);
    j["size"] = r.size;
    if (!r.colour.empty()) j["colour"] = r.colour;
  }
  return j;
}
}  // namespace

json DumpState(int64_t frame) {
  const cMORVA& m = gameState.morva;
  json dump{{"frame", frame},
            {"flags", Flags(gameState.flags)},
            {"settings", SettingsJson(gameState.settings)},
            {"engine", {{"fps", m.fps}, {"frameTime", m.frameTime}, {"timeScale", m.timeScale}}},
            {"gammaApplied", gameState.gammaApplied},
            {"keyHeld", gameState.keyHeld},
            {"keyReleased", gameState.keyReleased},
            {"savedModeIndex", gameState.savedModeIndex},
            {"cursor", {{"x", gameState.cursorX}, {"y", gameState.cursorY}}},
            {"inputStates", InputStates()},
            {"sounds", Sounds()},
            {"messages", Messages()},
            {"bindings", BindingsJson()},
            {"playerSettings",
             {{"vsync", gameState.playerSettings.vsync},
              {"reducedFlashes", gameState.playerSettings.reducedFlashes}}}};
  AddLevelToDump(dump);
  AddEffectsToDump(dump);
  if (backends.renderer) {
    if (const auto* list = backends.renderer->DrawList()) {
      json draws = json::array();
      for (const DrawRecord& r : *list) draws.push_back(DrawRecordJson(r));
      dump["drawList"] = draws;
    }
  }
  return dump;
}

bool WriteStateDump(const std::string& path, int64_t frame) {
  std::ofstream out(path, std::ios::trunc);
  // File names come from the disk and need not be UTF-8; such bytes are shown replaced.
  if (out) out << DumpState(frame).dump(2, ' ', false, json::error_handler_t::replace) << '\n';
  if (!out) {
    std::fprintf(stderr, "morva: cannot write the state dump to %s\n", path.c_str());
    return false;
  }
  return true;
}
