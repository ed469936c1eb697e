// The menus without a mouse: the arrow keys or the controller's d-pad and stick move a highlight,
// Return, Space or the controller's A button press, the controller's B button goes back (Escape
// already does, through its input state). The mouse works as before; the highlight shows only
// once one of these keys has been used, and hides again when the mouse moves or clicks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum class MenuControl { Up, Down, Left, Right, Press, Back };
constexpr int kMenuControlCount = 6;

struct MenuKeys {
  // Went down this frame (or, for the directions, repeats while held).
  std::array<bool, kMenuControlCount> fired{};
  // The highlight was on the screen before these keys: the first key only brings it back.
  bool highlightWasShown = false;
  // The first frame of the screen's visit, in which nothing fires.
  bool visitStarts = false;

  bool Fired(MenuControl c) const { return fired[static_cast<std::size_t>(c)]; }
  // -1 for Up (or Left), 1 for Down (or Right), 0 for neither or both.
  int Vertical() const {
    return (Fired(MenuControl::Down) ? 1 : 0) - (Fired(MenuControl::Up) ? 1 : 0);
  }
  int Horizontal() const {
    return (Fired(MenuControl::Right) ? 1 : 0) - (Fired(MenuControl::Left) ? 1 : 0);
  }
};

// Reads the keyboard, the controller and the mouse once a frame, after the input states have been
// updated: which menu controls fired, and whether the highlight shows.
void ReadMenuKeys(double frameMs);

// This frame's menu controls, for the screen that acts on them. Every key or button that fired is
// taken out of the input states, so a key that works a menu never also carries into the level as
// a jump, an attack or the power-up (a held key comes back only when pressed again).
// `lastFrame` is the screen's own note of the frame it last ran in: in the first frame of a
// visit nothing fires (and nothing is taken), so the key that opened the screen (or ended the
// intro under the menu) is not taken as a press on it as well.
MenuKeys TakeMenuKeys(int64_t& lastFrame);

// Whether the keyboard highlight is on the screen.
bool MenuHighlightShown();

void ResetMenuKeys();

// Moves `index` by `step` among the `count` entries for which `usable` holds, wrapping round;
// an index on an unusable entry first goes to the first usable one. -1 when none is usable.
template <typename Usable>
int MoveHighlight(int index, int step, int count, Usable usable) {
  if (index < 0 || index >= count || !usable(index)) {
    index = -1;
    for (int i = 0; i < count && index < 0; ++i) {
      if (usable(i)) index = i;
    }
    return index;
  }
  for (int tries = 0; tries < count && step != 0; ++tries) {
    index = (index + (step > 0 ? 1 : count - 1)) % count;
    if (usable(index)) return index;
  }
  return index;
}
