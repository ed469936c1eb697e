// The message loop: window events and scripted input between frames, the 10 ms frame timer, and
// the harness's outputs at the end of a run.
#include "app/program.hpp"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/display.hpp"
#include "app/event_gate.hpp"
#include "app/lasting_notice.hpp"
#include "app/main_loop.hpp"
#include "app/window_events.hpp"
#include "audio/audio_device.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/messages.hpp"
#include "base/random.hpp"
#include "base/stop_signals.hpp"
#include "gfx/renderer.hpp"
#include "harness/input_script.hpp"
#include "harness/png_file.hpp"
#include "harness/state_dump.hpp"
#include "ui/config.hpp"
#include "ui/notice.hpp"

namespace {

// Writes what the player does as an input script that replays the session.
class SessionRecorder {
 public:
  explicit SessionRecorder(const std::optional<std::string>& path) {
    if (path) out_ = std::make_unique<std::ofstream>(*path, std::ios::trunc);
  }
  bool Failed() const { return out_ && !*out_; }
  void Line(const std::string& line) {
    if (!out_ || line.empty()) return;
    *out_ << line << '\n';
    out_->flush();
  }
  void Event(int64_t frame, const ::Event& e) { Line(FormatScriptEvent(frame, e)); }
  void Step(int64_t frame, double ms) {
    if (!out_ || (hasLastStep_ && lastStep_ == ms)) return;
    hasLastStep_ = true;
    lastStep_ = ms;
    char text[64];
    std::snprintf(text, sizeof text, "%lld step %.17g", static_cast<long long>(frame), ms);
    Line(text);
  }

 private:
  std::unique_ptr<std::ofstream> out_;
  bool hasLastStep_ = false;
  double lastStep_ = 0;
};

// The demo content a build of the game makes beside the program (build/content), when there.
std::optional<std::filesystem::path> BuiltContentBeside(const std::filesystem::path& executable) {
  if (executable.empty()) return std::nullopt;
  const std::filesystem::path built = executable.parent_path() / "content";
  std::error_code ec;
  if (!std::filesystem::is_directory(built / "data", ec)) return std::nullopt;
  return built;
}

// Kept to short lines: a message box shows them as they are.
std::string NoContentMessage(const ContentSearch& search) {
  std::string text = "No game content found: there is no \"data\" folder in any of these places:";
  for (const std::string& t : search.tried) text += "\n  " + t;
  const std::filesystem::path executable = RunningExecutable();
  if (auto built = BuiltContentBeside(executable)) {
    return text + "\n\nThe build made the demo content in\n  " + built->string() +
           "\nStart the game with it:\n  " + executable.string() + " --root " + built->string() +
           "\n(or set MORVA_ROOT=" + built->string() + "; ./play.sh does this for you).";
  }
  text += std::string("\n\nAn installed game keeps its content in\n  ") +
          MORVA_INSTALL_CONTENT_DIR +
          "\n(or in <program's folder>/" MORVA_CONTENT_FROM_PROGRAM
          "): installing the game again\n"
          "puts it back. To make the demo content yourself, run\n"
          "  mkcontent DIR    (built with the game, in its build folder's tools/)\n"
          "and start the game with --root DIR, or with MORVA_ROOT=DIR set.\n"
          "In the source folder, ./play.sh does all of this.";
  return text;
}

// morva-YYYYmmdd-HHMMSS.png, with a number added when that second already has a picture.
std::filesystem::path NewScreenshotFile(const std::filesystem::path& dir) {
  std::time_t now = std::time(nullptr);
  char stamp[64];
  std::strftime(stamp, sizeof stamp, "morva-%Y%m%d-%H%M%S", std::localtime(&now));
  std::error_code ec;
  std::filesystem::path file = dir / (std::string(stamp) + ".png");
  for (int n = 2; std::filesystem::exists(file, ec); ++n) {
    file = dir / (std::string(stamp) + "-" + std::to_string(n) + ".png");
  }
  return file;
}

// How long the corner notice of a screenshot stays, in milliseconds.
constexpr double kScreenshotNoticeMs = 2000;

void SaveRequestedScreenshot(Renderer& renderer, const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  std::filesystem::path file = std::filesystem::absolute(NewScreenshotFile(dir), ec);
  if (WritePng(file.string(), renderer.LastCapture())) {
    std::fprintf(stderr, "morva: screenshot saved to %s\n", file.c_str());
    ShowNotice("Screenshot saved: " + file.filename().string(), kScreenshotNoticeMs);
  } else {
    std::fprintf(stderr, "morva: cannot save the screenshot to %s\n", file.c_str());
    ShowNotice("Screenshot not saved (see the terminal)", kScreenshotNoticeMs);
  }
}

struct Run {
  const ProgramOptions& options;
  Platform& platform;
  Renderer& renderer;
  AudioDevice& audio;
  std::vector<ScriptLine> script;
  size_t nextLine = 0;
  SessionRecorder recorder;
  int64_t frame = 0;
  bool screenshotPending = false;
  std::filesystem::path screenshotDir;
  EventGate gate;

  bool Scripted() const { return options.input.has_value(); }
  // Runs that end by themselves (a frame count) or follow a script are automation: they never
  // wait for the window to get the focus back.
  bool Interactive() const { return !Scripted() && options.frames == 0; }

  // Takes window-system events; in scripted runs only the system's close request counts. Input
  // joins the gate's queue; true when the window is to close.
  bool TakeWindowEvents() {
    bool close = false;
    Event e;
    while (platform.PollEvent(e)) {
      if (e.type == EventType::Screenshot) {
        renderer.RequestCapture();
        screenshotPending = true;
        continue;
      }
      if (Scripted() && e.type != EventType::Quit) continue;
      close = Take(e) || close;
    }
    return close;
  }

  bool TakeScriptEvents() {
    bool close = false;
    for (; nextLine < script.size() && script[nextLine].frame <= frame; ++nextLine) {
      const ScriptLine& line = script[nextLine];
      if (line.kind == ScriptLine::Kind::Clock) {
        gameState.morva.replaysMeasurements = true;
      } else if (line.kind == ScriptLine::Kind::Measure) {
        gameState.morva.recordedMeasurement = line.measuredFps;
      } else if (line.kind == ScriptLine::Kind::Step) {
        gameState.morva.fixedStepMs = line.stepMs;
      } else if (line.kind == ScriptLine::Kind::Input) {
        close = Take(line.event) || close;
      }
    }
    return close;
  }

  // A close request is acted on at once; input waits its turn in the gate.
  bool Take(const Event& e) {
    if (e.type != EventType::Quit) {
      gate.Push(e);
      return false;
    }
    recorder.Event(frame, e);
    return HandleWindowEvent(e);
  }

  // Applies the input this frame may see; it is recorded for the frame it reaches, so a replay
  // needs no gate to see the same.
  void ApplyInput() {
    Event e;
    while (gate.Next(e)) {
      // The press that dismisses a notice is no input of the game's, nor of a recording's.
      if (TakenByLastingNotice(e)) continue;
      recorder.Event(frame, e);
      HandleWindowEvent(e);
    }
  }

  // Waits for the frame timer; returns the raw time step of this frame in milliseconds, or
  // nothing when no frame runs now (full screen without focus).
  std::optional<double> WaitForFrame(uint32_t& lastCall) {
    bool fast = options.headless && gameState.morva.fixedStepMs.has_value();
    if (fast) return *gameState.morva.fixedStepMs;
    if (Interactive() && platform.FramesSuspended()) {
      platform.WaitEvent(100);
      return std::nullopt;
    }
    uint32_t now = platform.TicksMs();
    if (now - lastCall < kFrameIntervalMs) {
      platform.WaitUntil(lastCall + kFrameIntervalMs);
      now = platform.TicksMs();
    }
    double measured = now - lastCall;
    lastCall = now;
    return gameState.morva.fixedStepMs.value_or(measured);
  }

  // What a replay needs to see the same time steps: the raw step (it moves the sound on) and,
  // in a free-running session, the frames on which the frame rate was measured.
  void RecordTime(double rawStep) {
    const cMORVA& m = gameState.morva;
    bool measuredClock = m.replaysMeasurements || !m.fixedStepMs;
    if (frame == 0 && measuredClock) recorder.Line("0 clock measured");
    recorder.Step(frame, rawStep);
    if (measuredClock && m.measuredThisFrame) {
      recorder.Line(std::to_string(frame) + " measure " + std::to_string(static_cast<int>(m.fps)));
    }
  }

  void Loop() {
    uint32_t lastCall = platform.TicksMs() - kFrameIntervalMs;
    while (true) {
      bool close = TakeWindowEvents();
      close = TakeScriptEvents() || close;
      if (close) return;
      ApplyInput();
      std::optional<double> step = WaitForFrame(lastCall);
      if (!step) continue;
      audio.Advance(*step);
      gameState.morva.BeginFrame(*step);
      // Reading the picture back costs a little; when the last frame is known, only it is kept.
      bool lastKnown = options.frames > 0;
      if (options.screenshot && (!lastKnown || frame == options.frames - 1)) {
        renderer.RequestCapture();
      }
      DXTimer1Timer();
      gate.FrameRan();
      AgeNotice(*step);
      RecordTime(*step);
      ++frame;
      if (screenshotPending) {
        SaveRequestedScreenshot(renderer, screenshotDir);
        screenshotPending = false;
      }
      if (windowCloseRequested) return;
      if (options.frames > 0 && frame >= options.frames) return;
    }
  }

  // False when an output asked for could not be written (each says why).
  bool WriteOutputs() {
    bool written = !options.dumpState || WriteStateDump(*options.dumpState, frame);
    if (options.screenshot) {
      if (renderer.LastCapture().rgba.empty()) {
        std::fprintf(stderr, "morva: --screenshot: no picture was drawn in this run\n");
        written = false;
      } else if (!WritePng(*options.screenshot, renderer.LastCapture())) {
        std::fprintf(stderr, "morva: cannot write the screenshot to %s\n",
                     options.screenshot->c_str());
        written = false;
      }
    }
    return written;
  }
};

bool LoadScript(const std::optional<std::string>& path, std::vector<ScriptLine>& lines) {
  if (!path) return true;
  // Files, pipes and "-" for standard input alike; the parser's limits stop an endless source.
  std::error_code ec;
  if (std::filesystem::is_directory(*path, ec)) {
    std::fprintf(stderr, "morva: the input script %s is a folder\n", path->c_str());
    return false;
  }
  std::ifstream file;
  errno = 0;
  if (*path != "-") file.open(*path, std::ios::binary);
  std::istream& in = *path == "-" ? std::cin : file;
  if (!in) {
    std::fprintf(stderr, "morva: cannot read the input script %s: %s\n", path->c_str(),
                 errno != 0 ? std::strerror(errno) : "it cannot be opened");
    return false;
  }
  ScriptParse parsed = ParseInputScript(in);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "morva: %s: %s\n", path->c_str(), parsed.error.c_str());
    return false;
  }
  lines = std::move(parsed.lines);
  return true;
}

// The window as the player left it (Alt+Enter, a resize) is how the next run starts; a run
// that changed nothing leaves settings.cfg as it was, also when --windowed or --fullscreen
// overrode it.
void KeepWindowChoice(const Platform& platform, const std::filesystem::path& settingsFile) {
  std::optional<WindowChoice> window = platform.WindowChangedByPlayer();
  PlayerSettings& settings = gameState.playerSettings;
  if (!window || *window == settings.window) return;
  settings.window = *window;
  SavePlayerSettings(settingsFile, settings);
}

// The defaults with a script's "bind" lines over them.
Bindings ScriptBindings(const std::vector<ScriptLine>& script) {
  std::string text;
  for (const ScriptLine& line : script) {
    if (line.kind == ScriptLine::Kind::Bind) text += line.binding + "\n";
  }
  SettingsParse parse = ParseSettingsText(text);
  return BindActions(DefaultBindings(), parse.actions, parse.problems);
}

// The seed: --seed, else the script's "0 seed" line, else the clock.
uint32_t ChooseSeed(const ProgramOptions& options, const std::vector<ScriptLine>& script) {
  if (options.seed) return *options.seed;
  for (const ScriptLine& line : script) {
    if (line.kind == ScriptLine::Kind::Seed) return line.seed;
  }
  return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

bool SeedGiven(const ProgramOptions& options, const std::vector<ScriptLine>& script) {
  if (options.seed) return true;
  for (const ScriptLine& line : script) {
    if (line.kind == ScriptLine::Kind::Seed) return true;
  }
  return false;
}
}  // namespace

int RunProgram(const ProgramOptions& options, Platform& platform, Renderer& renderer,
               AudioDevice& audio) {
  ResetGameState();
  backends = Backends{&platform, &renderer, &audio, nullptr};
  SetMessageBoxShower([&platform](const std::string& caption, const std::string& text) {
    platform.ShowMessageBox(caption, text);
  });
  struct ShowerReset {
    ~ShowerReset() { SetMessageBoxShower(nullptr); }
  } showerReset;

  std::vector<ScriptLine> script;
  if (!LoadScript(options.input, script)) return 2;

  ContentSearch search = FindContentRoot(options.root);
  if (!search.root) {
    ShowMessageUtf8("MORVA", NoContentMessage(search));
    if (options.dumpState) WriteStateDump(*options.dumpState, 0);
    return 3;
  }
  ContentPaths content(*search.root);
  if (options.levelFolder) content.SetLevelOverlay(*options.levelFolder);
  backends.content = &content;
  UserPaths userPaths = ChooseUserPaths(options.config);
  SetConfigPath(userPaths.config);
  SetPlayerSettingsPath(userPaths.settings);
  std::vector<std::string> settingsMistakes;
  gameState.playerSettings =
      LoadPlayerSettings(userPaths.settings, true, &gameState.bindings, &settingsMistakes);
  // A player who started the game from a desktop menu reads no terminal.
  if (!settingsMistakes.empty() && options.Interactive()) {
    PostLastingNotice(userPaths.settings.string() + " has mistakes; the other lines apply:",
                      settingsMistakes);
  }
  // A scripted run plays with the script's bindings (the defaults unless it says otherwise), so
  // a recording replays the same game whatever the player's own bindings are now.
  if (options.input) gameState.bindings = ScriptBindings(script);
  InstallBindings(gameState.bindings);

  uint32_t seed = ChooseSeed(options, script);
  RandSeed(seed);
  // A recording must replay, so its reseeds come from the recorded seed, never the clock.
  SetSeededRun(SeedGiven(options, script) || options.record.has_value());
  gameState.morva.fixedStepMs = options.frameMs;
  gameState.levelDrawn = !options.noDraw;

  Run run{
      options, platform, renderer, audio, std::move(script), 0, SessionRecorder(options.record)};
  if (run.recorder.Failed()) {
    std::fprintf(stderr, "morva: cannot write the recording %s\n", options.record->c_str());
    return 2;
  }
  run.recorder.Line("0 seed " + std::to_string(seed));
  for (const std::string& bind : BindingScriptLines(gameState.bindings)) run.recorder.Line(bind);
  run.screenshotDir = userPaths.screenshots;

  SetSettingsSaver([&platform, &userPaths] {
    SaveConfigIfChanged(gameState.settings);
    KeepWindowChoice(platform, userPaths.settings);
  });
  struct SaverReset {
    ~SaverReset() { SetSettingsSaver(nullptr); }
  } saverReset;
  int status = 0;
  try {
    if (FormCreate() != StartResult::Ok) {
      // The dump still shows what was said about the failure.
      run.WriteOutputs();
      FormClose();
      return 4;
    }
    if (options.play) StartInLevel();
    run.Loop();
  } catch (const ProgramExit& exit) {
    status = exit.status;
  }
  // However the run ended (Escape saves already; closing the window, the menu's Exit, a signal or
  // a fatal error do not), a change made in the options is kept.
  SaveConfigIfChanged(gameState.settings);
  KeepWindowChoice(platform, userPaths.settings);
  SettingsWrittenForExit();
  // A run a loader stopped, or whose outputs could not be written, did not do what was asked.
  if (status == 0) status = closeStatus;
  if (!run.WriteOutputs() && status == 0) status = 3;
  FormClose();
  backends = Backends{};
  // The signal that ended this run is spent (a test may start another run in the process).
  ResetStopRequests();
  return status;
}
