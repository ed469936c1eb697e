// The list of the game's content paths.
#include "common/content_manifest.hpp"

namespace {

std::vector<Asset> Build() {
  using K = AssetKind;
  std::vector<Asset> a;
  auto add = [&](const std::string& path, K kind, int minFrames = 0) {
    a.push_back({path, kind, minFrames});
  };
  // Start-up: music, click, HUD, font.
  add("data\\sounds\\music\\intro.mp3", K::Mp3);
  add("data\\sounds\\music\\menu.mp3", K::Mp3);
  add("data\\sounds\\music\\game.mp3", K::Mp3);
  add("data\\sounds\\GUI\\button0.WAV", K::Wave);
  add("data\\hud\\lifeBar.jpg", K::Jpeg);
  add("data\\hud\\lifeBarB.jpg", K::Jpeg);
  add("data\\hud\\filter.dxt", K::Container);
  add("data\\fonts\\fontLV.tga", K::Targa);
  // Intro, menu, options, training.
  for (int i = 0; i < 3; ++i) add("data\\intro\\" + std::to_string(i) + ".dxt", K::Container);
  add("data\\menu\\bg.dxt", K::Container);
  for (const char* name : {"bresume", "bStart", "bTraining", "bOptions"}) {
    add(std::string("data\\menu\\") + name + "R.tga", K::Targa);
    add(std::string("data\\menu\\") + name + "P.tga", K::Targa);
  }
  add("data\\menu\\bEXitR.tga", K::Targa);
  add("data\\menu\\bExitP.tga", K::Targa);
  add("data\\options\\bg.jpg", K::Jpeg);
  add("data\\options\\ListBox_close.jpg", K::Jpeg);
  add("data\\options\\ListBox_open.JPG", K::Jpeg);
  add("data\\fonts\\listbox.tga", K::Targa);
  add("data\\options\\trackBar.tga", K::Targa);
  add("data\\options\\tracker.tga", K::Targa);
  for (int i = 0; i < 3; ++i) add("data\\trainer\\" + std::to_string(i) + ".dxt", K::Container);
  add("data\\trainer\\bBackP.tga", K::Targa);
  add("data\\trainer\\bBackR.tga", K::Targa);
  add("data\\trainer\\bnextP.tga", K::Targa);
  add("data\\trainer\\bnextR.tga", K::Targa);
  // The level load.
  add("data\\levels\\level1\\title.dx", K::Container);
  add(kLevelMapPath, K::LevelMap);
  add(kLevelFolder, K::FrameFolder);
  add("DATA\\levels\\LEVEL1\\bg.dx", K::Container);
  add("data\\hud\\rSquare.tga", K::Targa);
  for (const CharacterFiles& c : kCharacterFiles) add(c.definition, K::Definition);
  for (int kind : {1, 3, 0, 2}) add(kCharacterFiles[kind].frames, K::FrameFolder);
  add("data\\fx\\blood_particle.tga", K::Targa);
  add("DATA\\fx\\bloodSpray\\", K::FrameFolder, 5);
  add("DATA\\fx\\blow1\\", K::FrameFolder, 11);
  add("data\\sounds\\fx\\explode0.wav", K::Wave);
  add("data\\items\\life.dxt", K::Container);
  add("data\\items\\MFL.dxt", K::Container);
  add("data\\sounds\\items\\life.wav", K::Wave);
  add("data\\sounds\\items\\MFL.wav", K::Wave);
  const std::string units = "DATA\\sounds\\units\\";
  for (const char* s : {"attack", "moving", "shocked"})
    add(units + "Sentinel\\" + s + ".wav", K::Wave);
  for (int i = 0; i < 5; ++i) add(units + "guard\\cry" + std::to_string(i) + ".wav", K::Wave);
  add(units + "guard\\pain1.wav", K::Wave);
  add(units + "guard\\hit.wav", K::Wave);
  add(units + "guard\\death_head_Of_1.wav", K::Wave);
  add(units + "guard\\death_head_Of_2.wav", K::Wave);
  for (int i = 1; i <= 5; ++i) add(units + "guard\\death_" + std::to_string(i) + ".wav", K::Wave);
  for (const char* s : {"step1", "golem_idle1", "golem_idle2", "die", "shock"}) {
    add(units + "Golem\\" + s + ".wav", K::Wave);
  }
  for (int i = 1; i <= 4; ++i) add(units + "ravik\\step" + std::to_string(i) + ".wav", K::Wave);
  add(units + "ravik\\impact_steal.wav", K::Wave);
  add(units + "ravik\\impact_flesh.wav", K::Wave);
  for (int i = 1; i <= 4; ++i) add(units + "ravik\\hit" + std::to_string(i) + ".wav", K::Wave);
  for (const char* s : {"jump", "pain1", "death"}) add(units + "ravik\\" + s + ".wav", K::Wave);
  for (int i = 1; i <= 3; ++i) {
    add("DATA\\sounds\\coments\\c" + std::to_string(i) + ".wav", K::Wave);
  }
  // Opened by the screens and effects on first use.
  add("data\\fx\\lightning.dxt", K::Container);
  add("DATA\\sounds\\fx\\thunder1.wav", K::Wave);
  add("data\\fx\\wSquare.tga", K::Targa);
  add("data\\hud\\statistics.dxt", K::Container);
  return a;
}

}  // namespace

const std::vector<Asset>& GameAssets() {
  static const std::vector<Asset> assets = Build();
  return assets;
}

std::string DiskPath(const std::string& gamePath) {
  std::string out;
  for (char c : gamePath) {
    if (c == '\\') {
      if (!out.empty() && out.back() == '/') continue;
      out += '/';
    } else {
      out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
  }
  return out;
}
