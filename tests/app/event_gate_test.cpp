// The input gate between frames: which frame each event of a burst reaches; and the lasting
// notice, which takes the press that dismisses it before the game sees it.
#include "app/event_gate.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "app/lasting_notice.hpp"
#include "base/backends.hpp"
#include "test_support.hpp"

namespace {
Event Make(EventType type, int key = 0, int value = 0, bool down = false) {
  Event e;
  e.type = type;
  e.key = key;
  e.keyId = key;
  e.axis = 0;
  e.value = value;
  e.down = down;
  return e;
}
Event KeyDown(int id) {
  return Make(EventType::KeyDown, id);
}
Event KeyUp(int id) {
  return Make(EventType::KeyUp, id);
}
Event Mouse(bool down) {
  return Make(down ? EventType::MouseDown : EventType::MouseUp);
}
Event Move() {
  return Make(EventType::MouseMove);
}
Event Pad(int button, bool down) {
  return Make(EventType::PadButton, button, 0, down);
}
Event PadY(int value) {
  Event e = Make(EventType::PadAxis, 0, value);
  e.axis = 1;
  return e;
}

// Pushes a burst of events that all arrive before one frame, then runs frames until the gate is
// empty; returns the frame (0, 1, ...) each event was applied before.
std::vector<int> FramesReached(const std::vector<Event>& burst) {
  EventGate gate;
  for (const Event& e : burst) gate.Push(e);
  std::vector<int> frames;
  for (int frame = 0; frame < 20 && !gate.Empty(); ++frame) {
    Event e;
    while (gate.Next(e)) frames.push_back(frame);
    gate.FrameRan();
  }
  return frames;
}
}  // namespace

TEST(EventGate, EveryChangeReachesAFrameOfItsOwn) {
  struct Case {
    const char* what;
    std::vector<Event> burst;
    std::vector<int> frames;
  };
  const Case cases[] = {
      {"a click inside one frame", {Move(), Mouse(true), Mouse(false)}, {0, 0, 1}},
      {"a double click", {Mouse(true), Mouse(false), Mouse(true), Mouse(false)}, {0, 1, 2, 3}},
      {"a key tap", {KeyDown(40), KeyUp(40)}, {0, 1}},
      {"taps of two keys at once", {KeyDown(40), KeyDown(41), KeyUp(40), KeyUp(41)}, {0, 0, 1, 1}},
      {"a press alone", {KeyDown(40)}, {0}},
      {"a release alone", {KeyUp(40)}, {0}},
      // Order is kept: what follows a held event waits with it, even when it could go now.
      {"a key tap, then a move and another key",
       {KeyDown(40), KeyUp(40), Move(), KeyDown(41)},
       {0, 1, 1, 1}},
      {"a controller button tap", {Pad(5, true), Pad(5, false)}, {0, 1}},
      {"a d-pad tap", {PadY(-1000), PadY(0)}, {0, 1}},
      // A stick moving within one direction presses nothing new.
      {"a stick pushed further", {PadY(600), PadY(900), PadY(1000)}, {0, 0, 0}},
      {"a stick flicked up and down", {PadY(-1000), PadY(1000), PadY(0)}, {0, 1, 2}},
      {"a stick moving inside its dead zone", {PadY(100), PadY(-200), PadY(300)}, {0, 0, 0}},
      {"moves and characters change nothing",
       {Move(), Make(EventType::Text, 'a'), Move()},
       {0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FramesReached(c.burst), c.frames) << c.what;
  }
}

TEST(EventGate, ChangesWaitOnlyForAFrameThatRan) {
  EventGate gate;
  gate.Push(Mouse(true));
  gate.Push(Mouse(false));
  Event e;
  ASSERT_TRUE(gate.Next(e));
  EXPECT_EQ(e.type, EventType::MouseDown);
  // No frame has run (full screen without focus): the release still waits, however often asked.
  EXPECT_FALSE(gate.Next(e));
  EXPECT_FALSE(gate.Next(e));
  gate.FrameRan();
  ASSERT_TRUE(gate.Next(e));
  EXPECT_EQ(e.type, EventType::MouseUp);
  EXPECT_TRUE(gate.Empty());
}

TEST(EventGate, LosingTheFocusForgetsWhereTheSticksWere) {
  // The focus loss lets go of everything, so a stick pushed again the same way is a new press.
  EXPECT_EQ(FramesReached({PadY(-1000), Make(EventType::FocusLost), PadY(-1000)}),
            (std::vector<int>{0, 0, 1}));
}

// Folded to the picture's width, the whole shown while it fits; seen only once drawn; the first
// press of anything dismisses it and is taken, moves and releases never are.
TEST(LastingNotice, TakesTheFirstPressOnlyWhileItIsSeen) {
  TempDir dir{"lasting_notice"};
  FakeBackends fake(dir.path());
  backends = Backends{&fake.platform, &fake.renderer, &fake.audio, &fake.content};
  ResetLastingNotice();
  const std::string longLine = "line 7: " + std::string(70, 'x') + " " + std::string(90, 'y');
  PostLastingNotice("settings.cfg has mistakes:", {"line 2: unknown name 'jmup'", longLine});
  const std::vector<std::string>& lines = LastingNoticeLines();
  // At spaces where there are any, a word too long for a line cut.
  EXPECT_EQ(lines,
            (std::vector<std::string>{"settings.cfg has mistakes:", "  line 2: unknown name 'jmup'",
                                      "  line 7:", std::string(70, 'x'), std::string(74, 'y'),
                                      std::string(16, 'y'), "", "Press any key to go on."}));

  EXPECT_FALSE(TakenByLastingNotice(KeyDown(5))) << "not drawn yet";
  DrawLastingNotice(false, 1);
  EXPECT_FALSE(TakenByLastingNotice(KeyDown(5))) << "out of sight";
  fake.renderer.BeginFrame(0, 800, 0, 600);
  DrawLastingNotice(true, 1);
  int texts = 0;
  for (const DrawRecord& d : *fake.renderer.DrawList()) texts += d.op == "text" ? 1 : 0;
  EXPECT_EQ(texts, 7) << "every line but the empty one";
  for (const Event& e : {KeyUp(5), Move(), Mouse(false), Pad(3, false), PadY(900)}) {
    EXPECT_FALSE(TakenByLastingNotice(e)) << static_cast<int>(e.type);
  }
  EXPECT_TRUE(TakenByLastingNotice(Pad(3, true)));
  EXPECT_TRUE(LastingNoticeLines().empty());
  EXPECT_FALSE(TakenByLastingNotice(KeyDown(5))) << "dismissed";

  std::vector<std::string> many(50, "line: damaged");
  PostLastingNotice("many", many);
  EXPECT_EQ(LastingNoticeLines().size(), 38u);
  EXPECT_EQ(LastingNoticeLines()[35], "  and 16 more lines");
  ResetLastingNotice();
  backends = Backends{};
}
