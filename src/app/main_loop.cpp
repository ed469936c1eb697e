// The spine of the program: start-up, the per-frame step that runs the screens in their fixed
// order, and shutdown.
#include "app/main_loop.hpp"

#include "app/display.hpp"
#include "app/input.hpp"
#include "app/key_names.hpp"
#include "app/lasting_notice.hpp"
#include "app/platform.hpp"
#include "audio/sound.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"
#include "content/level_load.hpp"
#include "game/level.hpp"
#include "gfx/load.hpp"
#include "ui/config.hpp"
#include "ui/hud.hpp"
#include "ui/intro.hpp"
#include "ui/menu.hpp"
#include "ui/menu_keys.hpp"
#include "ui/notice.hpp"
#include "ui/options.hpp"
#include "ui/training.hpp"

namespace {
void PlayOrStop(SoundHandle track, bool plays) {
  if (plays) {
    cSND::Play(track, gameState.settings.musicVolume, true);
  } else {
    cSND::Stop(track);
  }
}

void SelectAndPlayMusic() {
  MusicChoice choice = SelectMusic(gameState.flags);
  PlayOrStop(gameState.introMusic, choice.intro);
  PlayOrStop(gameState.menuMusic, choice.menu);
  PlayOrStop(gameState.gameMusic, choice.game);
}

void RunLevelSteps() {
  ModeFlags& f = gameState.flags;
  if (f.levelLoaded == 0) {
    SetAsideMenuPictures();
    LoadLevel();
    f.levelLoaded = 1;
  }
  const SceneFrame frame = CurrentSceneFrame();
  if (f.restartRequested == 1) {
    RestartLevel(frame.level);
    f.restartRequested = 0;
  }
  RunLevel(frame);
}

// What a frame showing only the intro does not use waits until a frame needs it, so the window
// shows its first picture sooner; the first frame drawing anything else loads it first.
constexpr char kIntroMusic[] = "data\\sounds\\music\\intro.mp3";
bool restOfStartUpLoaded = false;
bool firstFrameDone = false;

void LoadRestOfStartUp() {
  cSND::Open("data\\sounds\\music\\menu.mp3", gameState.menuMusic);
  cSND::Open("data\\sounds\\music\\game.mp3", gameState.gameMusic);
  cSND::Open("data\\sounds\\GUI\\button0.WAV", gameState.clickSound);
  LoadHud();
  cLoad::LoadTGA("data\\fonts\\fontLV.tga", gameState.fontTexture);
  restOfStartUpLoaded = true;
}

bool OnlyTheIntroShows(const ModeFlags& f) {
  return f.introDone == 0 && f.optionsShown == 0 && f.trainerShown == 0 && f.inGame == 0 &&
         f.levelFinished == 0 && NoticeText().empty();
}
}  // namespace

MusicChoice SelectMusic(const ModeFlags& f) {
  MusicChoice c;
  c.intro = f.inGame == 0 && f.levelFinished == 0 && f.introDone == 0;
  c.menu = f.introDone == 1 && f.levelFinished == 0 && (f.inGame == 0 || f.paused == 1);
  c.game = f.inGame == 1 && f.paused == 0;
  return c;
}

StartResult FormCreate() {
  SaveGammaRamp(gameState.savedGammaRamp);
  LoadConfig(gameState.settings);
  std::optional<double> fixedStep = gameState.morva.fixedStepMs;
  gameState.morva = cMORVA{};
  gameState.morva.fixedStepMs = fixedStep;
  gameState.savedModeIndex = CurrentModeIndex();
  // The intro's music is read on another thread while the window opens.
  cSND::Prefetch({kIntroMusic});

  SetupResult setup = gameState.settings.displayMode == -1
                          ? SetupDisplay(0, 0, 800, 600, 32, 60, true)
                          : SetupDisplayByIndex(gameState.settings.displayMode);
  // Without a context, or without compressed textures, nothing of the game could be drawn.
  if (setup != SetupResult::Ok) return StartResult::NoDisplay;

  BASS_Init();
  cSND::Open(kIntroMusic, gameState.introMusic);
  restOfStartUpLoaded = false;
  firstFrameDone = false;

  DXInput1.Assign(kPauseButton, 0, vk::Escape);
  gameState.flags.introDone = 0;
  gameState.flags.menuShown = 1;
  return StartResult::Ok;
}

void StartInLevel() {
  gameState.flags.introDone = 1;
  ApplyMenuClick(MenuButton::Start, gameState.flags);
}

void DXTimer1Timer() {
  DXInput1.Update();
  ReadMenuKeys(gameState.morva.frameTime);
  BeginFrame(0, 800, 0, 600);
  if (gameState.gammaApplied == 0) {
    ApplyGamma(gameState.settings.gamma);
    gameState.gammaApplied = 1;
  }
  ModeFlags& f = gameState.flags;
  if (!restOfStartUpLoaded && (firstFrameDone || !OnlyTheIntroShows(f))) LoadRestOfStartUp();
  if (f.quitRequested == 0) {
    SelectAndPlayMusic();
    if (f.introDone == 0) {
      RunIntro("data\\intro\\", 3, 8, f.introDone, gameState.morva.frameTime);
    }
    if (f.optionsShown == 1) RunOptions();
    if (f.trainerShown == 1) RunTraining();
    if (f.inGame == 1) RunLevelSteps();
    if (f.menuShown == 1 && f.introDone == 1) RunMenu();
  }
  if (f.quitRequested == 1) windowCloseRequested = true;
  DrawLastingNotice(f.quitRequested == 0 && f.menuShown == 1 && f.introDone == 1,
                    gameState.fontTexture);
  DrawNotice();
  gameState.morva.EndFrame();
  gameState.keyReleased = 0;
  firstFrameDone = true;
}

void FormClose() {
  ShutdownDisplay();
  DisplayMode mode;
  if (gameState.savedModeIndex >= 0 &&
      backends.platform->GetDisplayMode(gameState.savedModeIndex, mode)) {
    backends.platform->SetDesktopMode(gameState.savedModeIndex);
  }
  RestoreGammaRamp(gameState.savedGammaRamp);
}

void FormKeyPress() {
  gameState.keyHeld = 1;
}

void FormKeyUp() {
  gameState.keyReleased = 1;
  gameState.keyHeld = 0;
}

void FormMouseDown(MouseButton button) {
  gameState.flags.mouseLeftDown = button == MouseButton::Left ? 1 : 0;
  gameState.flags.mouseRightDown = button == MouseButton::Right ? 1 : 0;
}

void FormMouseUp() {
  gameState.flags.mouseLeftDown = 0;
  gameState.flags.mouseRightDown = 0;
}
