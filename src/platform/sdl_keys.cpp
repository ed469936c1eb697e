// The SDL window system's keyboard: key events, the characters of keys the game has no name for,
// and the keys still held when the focus comes back.
#include <SDL.h>

#include <algorithm>

#include "app/key_names.hpp"
#include "platform/sdl_platform.hpp"
#include "platform/x11_keyboard.hpp"

std::string SdlPlatform::KeyLabel(const std::string& keyName) const {
  SDL_Scancode scancode = SDL_GetScancodeFromName(keyName.c_str());
  if (scancode == SDL_SCANCODE_UNKNOWN) return keyName;
  const char* label = SDL_GetKeyName(SDL_GetKeyFromScancode(scancode));
  return label != nullptr && *label != '\0' ? label : keyName;
}

namespace {
// Whether a key types text that SDL sends as text input: printable characters, not the keys that
// edit it or move in it.
bool TypesText(SDL_Keycode sym) {
  return (sym & SDLK_SCANCODE_MASK) == 0 && sym >= SDLK_SPACE && sym != SDLK_DELETE;
}
}  // namespace

bool SdlPlatform::TranslateKey(const SDL_Event& sdl, Event& event) {
  SDL_Scancode scancode = sdl.key.keysym.scancode;
  bool down = sdl.type == SDL_KEYDOWN;
  if (down && (scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER) &&
      (sdl.key.keysym.mod & KMOD_ALT)) {
    if (!sdl.key.repeat) ToggleFullScreen();
    return false;
  }
  if (down && scancode == SDL_SCANCODE_F12) {
    if (sdl.key.repeat) return false;
    event.type = EventType::Screenshot;
    return true;
  }
  auto id = KeyIdFromName(SDL_GetScancodeName(scancode));
  // A key the game has no code for still counts as "a key was released"; pressed, it has no state
  // but may still type a character, which SDL sends right after it (see SDL_TEXTINPUT).
  unnamedKeyDown_ = !id && down;
  if (!id && down) return false;
  event.keyId = id.value_or(0);
  event.key = KeyCodeOfId(event.keyId);
  if (down && sdl.key.repeat) {
    // Typing into a field (the editor's prompts), the repeated character comes as text, and a
    // held key that types none (Backspace, Delete, the arrows) presses again, so it edits on.
    if (textEntry_) {
      if (TypesText(sdl.key.keysym.sym)) return false;
      event.type = EventType::KeyDown;
      return true;
    }
    // In the game an auto-repeat is no new press: it only types its character again, if the key
    // types one (and is recorded so, as a character, never as a key going down).
    if (!IsCharacterKey(static_cast<uint8_t>(event.key))) return false;
    event.type = EventType::Text;
    return true;
  }
  event.type = down ? EventType::KeyDown : EventType::KeyUp;
  return true;
}

bool SdlPlatform::TranslateText(const SDL_Event& sdl, Event& event) {
  if (textEntry_) {
    const std::string typed = sdl.text.text;
    if (typed.empty()) return false;
    event.type = EventType::Text;
    event.key = static_cast<unsigned char>(typed[0]);
    for (std::size_t i = 1; i < typed.size(); ++i) {
      Event more = event;
      more.key = static_cast<unsigned char>(typed[i]);
      pending_.push_back(more);
    }
    return true;
  }
  // Keys the game names raise the key-press event through their key-down already.
  if (!unnamedKeyDown_) return false;
  unnamedKeyDown_ = false;
  event.type = EventType::Text;
  event.key = static_cast<unsigned char>(sdl.text.text[0]);
  return true;
}

void SdlPlatform::QueueHeldKeys() {
  // SDL released every key when the focus went; a key still held now is down again, as the
  // keyboard reports it.
  for (SDL_Scancode scancode : HeldScancodes(window_)) {
    SDL_Event sdl{};
    sdl.type = SDL_KEYDOWN;
    sdl.key.keysym.scancode = scancode;
    Event held;
    if (!TranslateKey(sdl, held)) continue;
    pending_.push_back(held);
    focusKeys_.push_back(scancode);
  }
}

void SdlPlatform::QueueReleasedFocusKeys() {
  if (focusKeys_.empty()) return;
  std::vector<SDL_Scancode> held = HeldScancodes(window_);
  std::erase_if(focusKeys_, [&](SDL_Scancode scancode) {
    if (std::find(held.begin(), held.end(), scancode) != held.end()) return false;
    SDL_Event sdl{};
    sdl.type = SDL_KEYUP;
    sdl.key.keysym.scancode = scancode;
    Event released;
    if (TranslateKey(sdl, released)) pending_.push_back(released);
    return true;
  });
}
