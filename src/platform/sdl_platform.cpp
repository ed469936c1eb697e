// The SDL window system.
#include "platform/sdl_platform.hpp"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "app/letterbox.hpp"
#include "app/monotonic_clock.hpp"
#include "app/video_driver.hpp"
#include "base/stop_signals.hpp"
#include "platform/sdl_audio.hpp"
#include "platform/x11_window.hpp"

namespace {
// Joysticks and controllers start after the first frame is on the screen: looking for them
// (and reading SDL's controller table) is time the window would stay empty.
constexpr Uint32 kStartSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;
constexpr Uint32 kInputDeviceSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;
constexpr Uint32 kSubsystems = kStartSubsystems | kInputDeviceSubsystems;

// SDL's offscreen and dummy drivers draw into a surface made at the window's first size, which a
// switch to full screen does not resize.
bool DrawsIntoMemory() {
  const char* driver = SDL_GetCurrentVideoDriver();
  std::string_view name = driver ? driver : "";
  return name == "offscreen" || name == "dummy";
}
}  // namespace

SdlPlatform::SdlPlatform(bool interactive, bool windowed, int windowWidth, int windowHeight,
                         bool vsync)
    : interactive_(interactive),
      windowed_(windowed),
      vsync_(vsync),
      windowWidth_(windowWidth),
      windowHeight_(windowHeight) {
  // Ctrl+C, SIGTERM and a closed terminal (SIGHUP) are the game's own to handle: they must also
  // stop a long load, which SDL's close request would reach only at the next frame.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(kStartSubsystems) != 0) {
    error_ = std::string("no display: ") + SDL_GetError();
    return;
  }
  InstallStopHandlers();
  // Without a display SDL falls back to drivers that draw into memory: the game would run unseen
  // (for ever, when started without a frame count), so that counts as no display.
  if (auto unseen =
          UnseenDriverReason(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "",
                             std::getenv("SDL_VIDEODRIVER"))) {
    error_ = *unseen;
    return;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  window_ = SDL_CreateWindow(
      "MORVA", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth, windowHeight,
      SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window_) {
    error_ = std::string("cannot open the main window: ") + SDL_GetError();
    return;
  }
}

SdlPlatform::~SdlPlatform() {
  if (controller_) SDL_GameControllerClose(controller_);
  if (joystick_) SDL_JoystickClose(joystick_);
  if (context_) SDL_GL_DeleteContext(context_);
  if (window_) SDL_DestroyWindow(window_);
  switch (SdlAudio::LeftOver()) {
    case SdlAudio::Left::Nothing:
      SDL_Quit();
      break;
    case SdlAudio::Left::OpenDevice:
      // SDL_Quit would close the sound device and wait for its audio thread to play out two
      // buffers; the end of the process releases the device instead.
      SDL_QuitSubSystem(kSubsystems);
      break;
    case SdlAudio::Left::StillOpening:
      // The thread opening the sound device may be inside SDL's own start-up, whose state SDL's
      // shutdown shares: the end of the process releases both.
      break;
  }
}

void SdlPlatform::StartInputDevices() {
  inputDevicesStarted_ = true;
  if (SDL_InitSubSystem(kInputDeviceSubsystems) != 0) {
    std::fprintf(stderr, "morva: no joystick or game controller: %s\n", SDL_GetError());
    return;
  }
  OpenJoystick();
}

void SdlPlatform::OpenJoystick() {
  if (joystick_ || SDL_NumJoysticks() < 1) return;
  joystick_ = SDL_JoystickOpen(0);
  if (SDL_IsGameController(0)) controller_ = SDL_GameControllerOpen(0);
}

uint32_t SdlPlatform::TicksMs() {
  return MonotonicMs();
}

void SdlPlatform::WaitUntil(uint32_t ticks) {
  SleepUntilTick(ticks);
}

bool SdlPlatform::CreateContext(bool fullScreen) {
  if (!context_) {
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
      std::fprintf(stderr, "morva: no OpenGL context: %s\n", SDL_GetError());
      return false;
    }
  }
  SDL_GL_MakeCurrent(window_, context_);
  SetVsync(vsync_);
  fullScreen_ = fullScreen && !windowed_;
  // A window as opened needs no change (asking the window system would cost a round trip or two).
  if (fullScreen_ || !windowAsOpened_) {
    SetFullScreen(fullScreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  }
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  return true;
}

void SdlPlatform::SetVsync(bool on) {
  vsync_ = on;
  if (!context_) return;
  // Without vsync the frame timer paces the game. Either may fail (Xvfb refuses both): the
  // timer still paces it.
  if (SDL_GL_SetSwapInterval(vsync_ ? 1 : 0) != 0 && vsync_ && !vsyncWarned_) {
    vsyncWarned_ = true;
    std::fprintf(stderr, "morva: no vsync here: %s\n", SDL_GetError());
  }
}

void SdlPlatform::DestroyContext() {
  if (!context_) return;
  SDL_GL_MakeCurrent(window_, nullptr);
  SDL_GL_DeleteContext(context_);
  context_ = nullptr;
}

void SdlPlatform::SwapBuffers() {
  SDL_GL_SwapWindow(window_);
  framePresented_ = true;
}

Viewport SdlPlatform::LogicalViewport() const {
  int w = 0;
  int h = 0;
  SDL_GL_GetDrawableSize(window_, &w, &h);
  return LetterboxViewport(w, h);
}

int SdlPlatform::DisplayIndex() const {
  return std::max(0, SDL_GetWindowDisplayIndex(window_));
}

bool SdlPlatform::GetDisplayMode(int index, DisplayMode& mode) {
  SDL_DisplayMode m;
  if (index < 0 || SDL_GetDisplayMode(DisplayIndex(), index, &m) != 0) return false;
  mode = DisplayMode{m.w, m.h, static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8, m.refresh_rate};
  return true;
}

bool SdlPlatform::GetDesktopMode(DisplayMode& mode) {
  SDL_DisplayMode m;
  if (SDL_GetDesktopDisplayMode(DisplayIndex(), &m) != 0) return false;
  mode = DisplayMode{m.w, m.h, static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8, m.refresh_rate};
  return true;
}

bool SdlPlatform::ChangeDisplayMode(int index) {
  SDL_DisplayMode m;
  if (windowed_ || SDL_GetDisplayMode(DisplayIndex(), index, &m) != 0) return false;
  if (SDL_SetWindowDisplayMode(window_, &m) != 0 || !SetFullScreen(SDL_WINDOW_FULLSCREEN)) {
    std::fprintf(stderr, "morva: cannot switch to %dx%d %dHz: %s\n", m.w, m.h, m.refresh_rate,
                 SDL_GetError());
    return false;
  }
  fullScreen_ = true;
  modeChanged_ = true;
  return true;
}

void SdlPlatform::RestoreDesktopMode() {
  // Leaving full screen gives the display its desktop mode back.
  if (window_ && modeChanged_) SetFullScreen(0);
  modeChanged_ = false;
}

void SdlPlatform::SetDesktopMode(int /*index*/) {
  // SDL changes the display mode only while our window is full screen, so once it has left full
  // screen the desktop is already in the mode it had at start-up.
  RestoreDesktopMode();
}

bool SdlPlatform::GetGammaRamp(GammaRamp& ramp) {
  if (SDL_GetWindowGammaRamp(window_, ramp.data(), ramp.data() + 256, ramp.data() + 512) == 0) {
    return true;
  }
  if (!gammaWarned_) std::fprintf(stderr, "morva: no gamma control here: %s\n", SDL_GetError());
  gammaWarned_ = true;
  return false;
}

bool SdlPlatform::SetGammaRamp(const GammaRamp& ramp) {
  if (SDL_SetWindowGammaRamp(window_, ramp.data(), ramp.data() + 256, ramp.data() + 512) == 0) {
    return true;
  }
  if (!gammaWarned_) std::fprintf(stderr, "morva: no gamma control here: %s\n", SDL_GetError());
  gammaWarned_ = true;
  return false;
}

void SdlPlatform::ShowMessageBox(const std::string& caption, const std::string& text) {
  if (!interactive_) return;
  // Full screen would hide the box behind the game.
  if (fullScreen_) SetFullScreen(0);
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) != 0) {
    std::fprintf(stderr, "morva: cannot show a message box: %s\n", SDL_GetError());
  }
  if (fullScreen_) {
    SetFullScreen(modeChanged_ ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
}

void SdlPlatform::NoteWindowSize(int width, int height) {
  // A window the player resized; full screen's own size is no choice of a window.
  if (fullScreen_ || (width == windowWidth_ && height == windowHeight_)) return;
  windowWidth_ = width;
  windowHeight_ = height;
  windowChanged_ = true;
}

std::optional<WindowChoice> SdlPlatform::WindowChangedByPlayer() const {
  if (!windowChanged_) return std::nullopt;
  if (fullScreen_) return WindowChoice{};
  return WindowChoice{false, windowWidth_, windowHeight_};
}

void SdlPlatform::ToggleFullScreen() {
  windowChanged_ = true;
  fullScreen_ = !fullScreen_;
  windowed_ = !fullScreen_;
  Uint32 flags = 0;
  if (fullScreen_) flags = modeChanged_ ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_FULLSCREEN_DESKTOP;
  SetFullScreen(flags);
}

// SDL takes a switch to full screen as done at once and reports the display's size from then on,
// though only a window manager carries it out: without one (X alone) the window is moved over the
// display by hand, and a surface in memory keeps the size it has. The size SDL reports then stays
// the size drawn into, so the picture, the screenshot and the cursor all fit the window.
bool SdlPlatform::SetFullScreen(uint32_t flags) {
  windowAsOpened_ = false;
  if (DrawsIntoMemory()) return true;
  if (WindowManagerRunning(window_)) return SDL_SetWindowFullscreen(window_, flags) == 0;
  int display = DisplayIndex();
  int centred = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(display));
  SDL_Rect r{centred, centred, windowWidth_, windowHeight_};
  if (flags != 0 && SDL_GetDisplayBounds(display, &r) != 0) return false;
  SDL_SetWindowSize(window_, r.w, r.h);
  SDL_SetWindowPosition(window_, r.x, r.y);
  return true;
}

bool SdlPlatform::FramesSuspended() const {
  return fullScreen_ && (!focused_ || minimised_);
}

void SdlPlatform::WaitEvent(int timeoutMs) {
  SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void SdlPlatform::CloseJoystick() {
  if (controller_) SDL_GameControllerClose(controller_);
  SDL_JoystickClose(joystick_);
  controller_ = nullptr;
  joystick_ = nullptr;
  // Whatever it held is let go, so nothing stays stuck after unplugging.
  for (EventType axisType : {EventType::JoyAxis, EventType::PadAxis}) {
    for (int axis = 0; axis < 2; ++axis) {
      Event e;
      e.type = axisType;
      e.axis = axis;
      pending_.push_back(e);
    }
  }
  for (EventType buttonType : {EventType::JoyButton, EventType::PadButton}) {
    for (int button = 1; button <= 32; ++button) {
      Event e;
      e.type = buttonType;
      e.key = button;
      pending_.push_back(e);
    }
  }
  for (std::size_t button = 0; button < padMap_.size(); ++button) {
    Event e;
    e.type = EventType::PadPress;
    e.key = static_cast<int>(button);
    pending_.push_back(e);
  }
  OpenJoystick();
}

bool SdlPlatform::PollEvent(Event& event) {
  if (framePresented_ && !inputDevicesStarted_) StartInputDevices();
  if (TakePending(event)) return true;
  if (TakeStopRequest()) {
    event = Event{};
    event.type = EventType::Quit;
    return true;
  }
  SDL_Event sdl;
  while (SDL_PollEvent(&sdl)) {
    event = Event{};
    if (Translate(sdl, event)) return true;
  }
  // The crossings that follow a move or resize come in the same batch of X events.
  geometryChanged_ = false;
  QueueReleasedFocusKeys();
  return TakePending(event);
}

bool SdlPlatform::TakePending(Event& event) {
  if (pending_.empty()) return false;
  event = pending_.front();
  pending_.pop_front();
  return true;
}

bool SdlPlatform::MouseMoveTo(int windowX, int windowY, Event& event) {
  int ww = 0, wh = 0, dw = 0, dh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  SDL_GL_GetDrawableSize(window_, &dw, &dh);
  LogicalPoint p = WindowToLogical(windowX, windowY, ww, wh, dw, dh);
  bool moved = !cursorKnown_ || p.x != cursor_.x || p.y != cursor_.y;
  cursorKnown_ = true;
  cursor_ = p;
  event = Event{};
  event.type = EventType::MouseMove;
  event.x = p.x;
  event.y = p.y;
  return moved;
}

bool SdlPlatform::Translate(const SDL_Event& sdl, Event& event) {
  switch (sdl.type) {
    case SDL_QUIT:
      event.type = EventType::Quit;
      return true;
    case SDL_KEYDOWN:
      // Pressed again: SDL knows the key is down now and reports its release itself.
      std::erase(focusKeys_, sdl.key.keysym.scancode);
      return TranslateKey(sdl, event);
    case SDL_KEYUP:
      return TranslateKey(sdl, event);
    case SDL_TEXTINPUT:
      return TranslateText(sdl, event);
    case SDL_MOUSEMOTION:
      // A window moved or resized under a pointer that stands still makes X report the pointer
      // crossing into or out of it, which SDL passes on as a move of no distance. The player did
      // not touch the mouse: taken as a move, it would hide the keyboard highlight.
      if (geometryChanged_ && sdl.motion.xrel == 0 && sdl.motion.yrel == 0) return false;
      MouseMoveTo(sdl.motion.x, sdl.motion.y, event);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      // Side buttons are not mouse buttons the game knows.
      if (sdl.button.button > SDL_BUTTON_RIGHT) return false;
      Event press;
      press.type = sdl.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
      press.button = sdl.button.button == SDL_BUTTON_LEFT    ? MouseButton::Left
                     : sdl.button.button == SDL_BUTTON_RIGHT ? MouseButton::Right
                                                             : MouseButton::Middle;
      // A press where the game last saw no pointer (the window has moved under it since) first
      // brings the cursor there.
      if (MouseMoveTo(sdl.button.x, sdl.button.y, event)) {
        pending_.push_front(press);
      } else {
        event = press;
      }
      return true;
    }
    case SDL_MOUSEWHEEL:
      event.type = EventType::MouseWheel;
      event.value = sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
      return event.value != 0;
    case SDL_JOYAXISMOTION:
      // A recognised controller speaks through its own mapping only: its raw button numbers
      // would otherwise also press the game's Escape and attack buttons.
      if (!joystick_ || controller_ || sdl.jaxis.which != SDL_JoystickInstanceID(joystick_) ||
          sdl.jaxis.axis > 1) {
        return false;
      }
      event.type = EventType::JoyAxis;
      event.axis = sdl.jaxis.axis;
      event.value = ScaleSdlAxis(sdl.jaxis.value);
      return true;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (!joystick_ || controller_ || sdl.jbutton.which != SDL_JoystickInstanceID(joystick_) ||
          sdl.jbutton.button >= 32) {
        return false;
      }
      event.type = EventType::JoyButton;
      event.key = sdl.jbutton.button + 1;
      event.down = sdl.type == SDL_JOYBUTTONDOWN;
      return true;
    case SDL_CONTROLLERAXISMOTION:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      return controller_ && TranslateController(sdl, event);
    case SDL_JOYDEVICEADDED:
      OpenJoystick();
      return false;
    case SDL_JOYDEVICEREMOVED:
      if (joystick_ && sdl.jdevice.which == SDL_JoystickInstanceID(joystick_)) CloseJoystick();
      return false;
    case SDL_WINDOWEVENT:
      switch (sdl.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
          focused_ = false;
          event.type = EventType::FocusLost;
          return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          focused_ = true;
          event.type = EventType::FocusGained;
          QueueHeldKeys();
          return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          NoteWindowSize(sdl.window.data1, sdl.window.data2);
          geometryChanged_ = true;
          return false;
        case SDL_WINDOWEVENT_MOVED:
          geometryChanged_ = true;
          return false;
        case SDL_WINDOWEVENT_MINIMIZED:
          minimised_ = true;
          return false;
        case SDL_WINDOWEVENT_RESTORED:
          minimised_ = false;
          return false;
        default:
          return false;
      }
    default:
      return false;
  }
}

void SdlPlatform::SetTitle(const std::string& title) {
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void SdlPlatform::Raise() {
  if (window_) SDL_RaiseWindow(window_);
}

void ShowMessageWithoutWindow(const std::string& caption, const std::string& text) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}
