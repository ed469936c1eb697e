// The SDL keyboard on a real X server, keys pressed through XTest as a player would press them:
// keys the game has no name for still type their character, and a key held while the focus is
// away is down again when it comes back. These tests move the server's focus and hold keys, so
// they run on their own (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "app/game_state.hpp"
#include "app/input.hpp"
#include "app/key_names.hpp"
#include "app/window_events.hpp"
#include "platform/sdl_platform.hpp"

// Xlib's macros (None, Button1, ...) would clash with names above: it comes last.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {
struct X11Keyboard : ::testing::Test {
  Display* x = nullptr;
  std::unique_ptr<SdlPlatform> platform;
  Window window = 0;
  std::set<KeyCode> held;
  bool autoRepeat = false;
  std::vector<Event> seen;

  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(x, &event, &error, &major, &minor)) GTEST_SKIP() << "no XTest";
    // The server's own auto-repeat would press a held key again after a while; these tests
    // look at what the window system makes of a key that simply stays down.
    XKeyboardState keyboard;
    XGetKeyboardControl(x, &keyboard);
    autoRepeat = keyboard.global_auto_repeat == AutoRepeatModeOn;
    XAutoRepeatOff(x);
    ResetGameState();
    platform = std::make_unique<SdlPlatform>(false, true);
    ASSERT_TRUE(platform->Ok()) << platform->Error();
    ASSERT_TRUE(platform->CreateContext(false));
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(SDL_GL_GetCurrentWindow(), &info));
    ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
    window = info.info.x11.window;
    Focus(window);
    // The window may have had the focus from the start; either way it has it now.
    Until([](const Event&) { return false; }, 300);
    seen.clear();
  }
  void TearDown() override {
    if (!x) return;
    for (KeyCode k : held) XTestFakeKeyEvent(x, k, False, CurrentTime);
    if (autoRepeat) XAutoRepeatOn(x);
    XSync(x, False);
    XCloseDisplay(x);
  }

  void Focus(Window to) {
    XSetInputFocus(x, to, RevertToPointerRoot, CurrentTime);
    XSync(x, False);
  }
  // Moves the focus away from the window or back to it and waits until the window has heard.
  bool Away() {
    Focus(DefaultRootWindow(x));
    return Until(Is(EventType::FocusLost));
  }
  bool Back() {
    Focus(window);
    bool gained = Until(Is(EventType::FocusGained));
    seen.clear();
    Until([](const Event&) { return false; }, 200);  // what follows the gain
    return gained;
  }
  KeyCode Code(KeySym sym) { return XKeysymToKeycode(x, sym); }
  void Key(KeySym sym, bool down) {
    KeyCode code = Code(sym);
    ASSERT_NE(code, 0) << XKeysymToString(sym) << " is not on the virtual keyboard";
    XTestFakeKeyEvent(x, code, down ? True : False, CurrentTime);
    XSync(x, False);
    if (down) {
      held.insert(code);
    } else {
      held.erase(code);
    }
  }
  // Takes the window's events, handing each to the game as the message loop does, until one
  // matches or `ms` pass; true when one matched.
  bool Until(const std::function<bool(const Event&)>& match, int ms = 3000) {
    uint32_t end = SDL_GetTicks() + static_cast<uint32_t>(ms);
    while (SDL_GetTicks() < end) {
      Event e;
      while (platform->PollEvent(e)) {
        seen.push_back(e);
        HandleWindowEvent(e);
        if (match(e)) return true;
      }
      SDL_Delay(5);
    }
    return false;
  }
  static std::function<bool(const Event&)> Is(EventType type, const char* key = nullptr) {
    int id = key ? *KeyIdFromName(key) : 0;
    return [type, id](const Event& e) { return e.type == type && (id == 0 || e.keyId == id); };
  }
};
}  // namespace

TEST_F(X11Keyboard, AKeyHeldThroughAFocusSwitchIsDownAgainWhenTheFocusReturns) {
  Key(XK_Right, true);
  Key(XK_Left, true);
  ASSERT_TRUE(Until(Is(EventType::KeyDown, "Left")));
  DXInput1.Update();
  ASSERT_TRUE(DXInput1.Has(Right) && DXInput1.Has(Left));

  ASSERT_TRUE(Away());
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.States.none());
  Key(XK_Left, false);  // let go while away; Right stays down throughout

  ASSERT_TRUE(Back());
  bool rightDown = false;
  for (const Event& e : seen) {
    EXPECT_FALSE(e.type == EventType::KeyDown && e.keyId == *KeyIdFromName("Left"));
    if (e.type == EventType::KeyDown && e.keyId == *KeyIdFromName("Right")) {
      rightDown = true;
    }
  }
  EXPECT_TRUE(rightDown) << "the held arrow is reported after the focus gain";
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(Right));
  EXPECT_FALSE(DXInput1.Has(Left));

  // SDL never saw this press, yet its release still arrives.
  Key(XK_Right, false);
  ASSERT_TRUE(Until(Is(EventType::KeyUp, "Right")));
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(Right));
}

TEST_F(X11Keyboard, AKeyHeldOverOneSwitchAndLetGoDuringTheNextIsNotStuck) {
  Key(XK_Right, true);
  ASSERT_TRUE(Until(Is(EventType::KeyDown, "Right")));
  ASSERT_TRUE(Away());
  ASSERT_TRUE(Back());
  DXInput1.Update();
  ASSERT_TRUE(DXInput1.Has(Right));

  ASSERT_TRUE(Away());
  Key(XK_Right, false);
  ASSERT_TRUE(Back());
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(Right)) << "let go while the window had no focus";
}

TEST_F(X11Keyboard, AKeyWithoutANameTypesItsCharacterAndANamedKeyOnlyGoesDown) {
  ASSERT_FALSE(KeyIdFromName("Keypad =").has_value()) << "pick a key outside the table";
  Key(XK_KP_Equal, true);
  ASSERT_TRUE(Until(Is(EventType::Text)));
  EXPECT_EQ(seen.back().key, '=');
  EXPECT_EQ(gameState.keyHeld, 1) << "the key-press event ends the intro";
  Key(XK_KP_Equal, false);
  ASSERT_TRUE(Until(Is(EventType::KeyUp)));
  EXPECT_EQ(gameState.keyHeld, 0);

  seen.clear();
  Key(XK_z, true);
  Key(XK_z, false);
  ASSERT_TRUE(Until(Is(EventType::KeyUp, "Z")));
  for (const Event& e : seen) EXPECT_NE(e.type, EventType::Text) << "Z goes down once, as a key";
  ASSERT_EQ(seen.front().type, EventType::KeyDown);
  EXPECT_EQ(seen.front().keyId, *KeyIdFromName("Z"));
}

// The server's own auto-repeat, as on a desktop: a held key goes down once; its repeats only type
// its character again (a key that types none repeats nothing), so a recording holds one press.
// Typing into a field, a held Backspace or arrow presses again, so it edits on.
TEST_F(X11Keyboard, AutoRepeatTypesTheCharacterAgainButIsNoNewPress) {
  XAutoRepeatOn(x);
  XSync(x, False);
  for (auto [sym, name, entry, presses, types] :
       {std::tuple{XK_z, "Z", false, false, true}, std::tuple{XK_Left, "Left", false, false, false},
        std::tuple{XK_z, "Z", true, false, true},
        std::tuple{XK_BackSpace, "Backspace", true, true, false},
        std::tuple{XK_Left, "Left", true, true, false}}) {
    SCOPED_TRACE(std::string(name) + (entry ? " typing" : ""));
    platform->SetTextEntry(entry);
    seen.clear();
    Key(sym, true);
    Until([](const Event&) { return false; }, 1200);  // past the server's repeat delay
    Key(sym, false);
    ASSERT_TRUE(Until(Is(EventType::KeyUp, name)));
    int downs = 0, texts = 0;
    for (const Event& e : seen) {
      downs += e.type == EventType::KeyDown;
      texts += e.type == EventType::Text;
    }
    if (presses) {
      EXPECT_GT(downs, 1);
    } else {
      EXPECT_EQ(downs, 1);
    }
    if (types) {
      EXPECT_GT(texts, 0);
    } else {
      EXPECT_EQ(texts, 0);
    }
  }
  platform->SetTextEntry(false);
}
