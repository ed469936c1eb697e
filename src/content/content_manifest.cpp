// The list of the game's content paths.
#include "content/content_manifest.hpp"

#include "fx/unit_effects.hpp"
#include "game/items.hpp"
#include "game/kinds.hpp"

namespace {

// What the level load opens, in its order.
void AddLevelLoad(std::vector<Asset>& a) {
  using K = AssetKind;
  auto add = [&](const std::string& path, K kind, int minFrames = 0) {
    a.push_back({path, kind, minFrames});
  };
  add(kLevelTitlePath, K::Container);
  add(kLevelMapPath, K::LevelMap);
  add(kLevelFolder, K::FrameFolder);
  add(kLevelBackgroundPath, K::Container);
  add(kDeathOverlayPath, K::Targa);
  for (const KindRow& kind : kKinds) add(kind.definition, K::Definition);
  for (std::size_t kind : KindsInFrameLoadOrder()) add(kKinds[kind].frames, K::FrameFolder);
  add(kBloodParticlePath, K::Targa);
  add(kBloodSprayFolder, K::FrameFolder, kSprayFrames);
  add(kExplosionFolder, K::FrameFolder, kExplosionFrames);
  add(kExplosionSoundPath, K::Wave);
  for (const char* path : kItemPicturePaths) add(path, K::Container);
  for (const char* path : kItemSoundPaths) add(path, K::Wave);
  for (bool withPlayer : {false, true}) {
    for (const KindRow& kind : kKinds) {
      if (kind.soundsLoadWithPlayer != withPlayer) continue;
      for (const SoundFile& sound : kind.sounds) add(sound.path, K::Wave);
    }
  }
  for (const char* path : kCommentSoundPaths) add(path, K::Wave);
}

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
  AddLevelLoad(a);
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
