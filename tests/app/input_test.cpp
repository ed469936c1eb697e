// Input states: edges, removal by consumers, key assignments, joystick dead zone, focus.
#include <gtest/gtest.h>

#include "app/game_state.hpp"
#include "app/input.hpp"
#include "app/key_names.hpp"
#include "app/window_events.hpp"

namespace {
struct InputTest : ::testing::Test {
  void SetUp() override {
    ResetGameState();
    DXInput1.Assign(kPauseButton, 0, vk::Escape);
  }
  static void Key(uint8_t code, bool down) {
    Event e;
    e.type = down ? EventType::KeyDown : EventType::KeyUp;
    e.key = code;
    HandleWindowEvent(e);
  }
  static void Stick(EventType type, int axis, int value) {
    Event e;
    e.type = type;
    e.axis = axis;
    e.value = value;
    HandleWindowEvent(e);
  }
  static void Focus(bool gained) {
    Event e;
    e.type = gained ? EventType::FocusGained : EventType::FocusLost;
    HandleWindowEvent(e);
  }
  static constexpr int kEscape = kPauseButton;
};
}  // namespace

TEST_F(InputTest, AHeldKeyStaysUntilReleased) {
  Key(vk::Escape, true);
  for (int frame = 0; frame < 5; ++frame) {
    DXInput1.Update();
    EXPECT_TRUE(DXInput1.Has(kEscape)) << frame;
  }
  Key(vk::Escape, false);
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(kEscape));
}

TEST_F(InputTest, ARemovedStateComesBackOnlyWithTheNextPress) {
  Key(vk::Escape, true);
  DXInput1.Update();
  ASSERT_TRUE(DXInput1.Has(kEscape));
  DXInput1.Remove(kEscape);
  for (int frame = 0; frame < 3; ++frame) {
    DXInput1.Update();
    EXPECT_FALSE(DXInput1.Has(kEscape)) << "still held, already consumed";
  }
  Key(vk::Escape, false);
  DXInput1.Update();
  Key(vk::Escape, true);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(kEscape));
}

TEST_F(InputTest, PressAndReleaseBetweenTwoFramesIsNotSeen) {
  Key('Z', true);
  Key('Z', false);
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(ButtonState(1)));
}

TEST_F(InputTest, FormKeysDriveDirectionsThroughAnyOfTheirSlots) {
  for (uint8_t key : {uint8_t{'H'}, vk::LeftArrow, vk::Numpad4}) {
    Key(key, true);
    DXInput1.Update();
    EXPECT_TRUE(DXInput1.Has(Left)) << int(key);
    Key(key, false);
    DXInput1.Update();
    EXPECT_FALSE(DXInput1.Has(Left)) << int(key);
  }
}

TEST_F(InputTest, ZFeedsTheAttackOnlyOnceTheLevelAssignedIt) {
  Key('Z', true);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(ButtonState(1)));
  EXPECT_FALSE(DXInput1.Has(AttackButton(1)));
  Key('Z', false);
  DXInput1.Update();

  DXInput1.Assign(AttackButton(1), 0, 'Z');
  Key('Z', true);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(ButtonState(1)));
  EXPECT_TRUE(DXInput1.Has(AttackButton(1)));
}

TEST_F(InputTest, AnEmptySlotNeverMatches) {
  // Key code 0 cannot be held, but make sure an empty slot does not turn every state on either.
  Key(0, true);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.States.none());
}

TEST_F(InputTest, JoystickNeedsMoreThanHalfWay) {
  Stick(EventType::JoyAxis, 0, -400);
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(Left));
  Stick(EventType::JoyAxis, 0, -500);
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(Left));
  Stick(EventType::JoyAxis, 0, -600);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(Left));
  Stick(EventType::JoyAxis, 1, 700);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(Down));
  Stick(EventType::JoyAxis, 1, -700);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(Up));
  EXPECT_FALSE(DXInput1.Has(Down));
}

TEST(AxisDirection, HalfWayEitherSideIsStillCentred) {
  struct Case {
    int value;
    int direction;
  } cases[] = {{-1000, -1}, {-501, -1}, {-500, 0}, {0, 0}, {500, 0}, {501, 1}, {1000, 1}};
  for (const Case& c : cases) EXPECT_EQ(AxisDirection(c.value), c.direction) << c.value;
}

TEST_F(InputTest, JoystickAndControllerButtonsFeedTheirButtonStates) {
  Event e;
  e.type = EventType::JoyButton;
  e.key = 5;
  e.down = true;
  HandleWindowEvent(e);
  e.type = EventType::PadButton;
  e.key = 10;
  HandleWindowEvent(e);
  e.key = 33;  // out of range: ignored
  HandleWindowEvent(e);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(AttackButton(1)));
  EXPECT_TRUE(DXInput1.Has(kPowerUpButton));
  EXPECT_EQ(DXInput1.States.count(), 2u);
  Stick(EventType::PadAxis, 0, 1000);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(Right));
}

TEST_F(InputTest, LosingFocusReleasesEveryStateAndCentresTheSticks) {
  Key(vk::RightArrow, true);
  Stick(EventType::JoyAxis, 1, -900);
  DXInput1.Update();
  ASSERT_TRUE(DXInput1.Has(Right) && DXInput1.Has(Up));

  Focus(false);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.States.none());
  // Keys pressed while another window has the focus report nothing until it comes back.
  Key('Z', true);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.States.none());

  Focus(true);
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(Up)) << "the stick was centred when the focus went";
}

TEST_F(InputTest, AStickMovedWithoutTheFocusReportsNothingUntilItReturns) {
  Focus(false);
  Stick(EventType::JoyAxis, 0, -900);
  Stick(EventType::PadAxis, 1, 900);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.States.none());
  Focus(true);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(Left));
  EXPECT_TRUE(DXInput1.Has(Down));
}

TEST_F(InputTest, AKeyHeldThroughAFocusSwitchIsHeldAgainAfterTheGain) {
  Key(vk::RightArrow, true);
  Key(vk::LeftArrow, true);
  DXInput1.Update();
  ASSERT_TRUE(DXInput1.Has(Right) && DXInput1.Has(Left));
  Focus(false);
  Key(vk::LeftArrow, false);  // let go while away; Right stays down throughout
  DXInput1.Update();
  ASSERT_FALSE(DXInput1.Has(Right));

  Focus(true);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(Right)) << "held through the switch, as the keyboard reports it";
  EXPECT_FALSE(DXInput1.Has(Left)) << "released while away";
  Key(vk::RightArrow, false);
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(Right));
}

TEST_F(InputTest, ReleasingAnAttackKeyWhileAnArrowIsHeldReleasesTheAttack) {
  Key(vk::RightArrow, true);
  Key('Z', true);
  DXInput1.Update();
  ASSERT_TRUE(DXInput1.Has(Right) && DXInput1.Has(ButtonState(1)));
  Key('Z', false);
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(ButtonState(1))) << "the arrow still held keeps only its own code";
  EXPECT_TRUE(DXInput1.Has(Right));
}

TEST_F(InputTest, KeysSharingACodeHoldItUntilBothAreReleased) {
  auto key = [](const char* name, bool down) {
    Event e;
    e.type = down ? EventType::KeyDown : EventType::KeyUp;
    e.keyId = *KeyIdFromName(name);
    e.key = KeyCodeOfId(e.keyId);
    HandleWindowEvent(e);
  };
  DXInput1.Assign(AttackButton(4), 0, vk::Control);
  key("Left Ctrl", true);
  key("Right Ctrl", true);
  key("Left Ctrl", false);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(AttackButton(4))) << "the right Ctrl is still down";
  key("Right Ctrl", false);
  DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(AttackButton(4)));
  // A repeated key-down of the same key is still one key.
  key("Return", true);
  key("Return", true);
  key("Return", false);
  EXPECT_FALSE(DXInput1.Keyboard.keysDown.test(vk::Return));
}

TEST(KeyNames, CoverTheNamesScriptsUse) {
  EXPECT_EQ(KeyCodeFromName("Escape"), vk::Escape);
  EXPECT_EQ(KeyCodeFromName("escape"), vk::Escape);
  EXPECT_EQ(KeyCodeFromName("Left Ctrl"), vk::Control);
  EXPECT_EQ(KeyCodeFromName("Right Ctrl"), vk::Control);
  EXPECT_EQ(KeyCodeFromName("z"), 'Z');
  EXPECT_EQ(KeyCodeFromName("Keypad 8"), vk::Numpad8);
  EXPECT_EQ(KeyCodeFromName("F2"), vk::F2);
  EXPECT_FALSE(KeyCodeFromName("NoSuchKey").has_value());
  EXPECT_FALSE(KeyCodeFromName("").has_value());
  EXPECT_EQ(KeyNameFromCode(vk::Control), "Left Ctrl");
  EXPECT_NE(KeyIdFromName("Left Ctrl"), KeyIdFromName("Right Ctrl"));
  EXPECT_EQ(KeyNameOfId(*KeyIdFromName("right ctrl")), "Right Ctrl");
  EXPECT_EQ(KeyCodeOfId(*KeyIdFromName("Keypad Enter")), vk::Return);
  EXPECT_EQ(KeyCodeOfId(9999), 0);
  for (int code = 1; code < 256; ++code) {
    std::string name = KeyNameFromCode(static_cast<uint8_t>(code));
    if (!name.empty()) EXPECT_EQ(KeyCodeFromName(name), code) << name;
  }
}

TEST(KeyNames, OnlyCharacterKeysRaiseTheKeyPressEvent) {
  for (uint8_t key : {uint8_t{'A'}, uint8_t{'7'}, vk::Space, vk::Return, vk::Escape}) {
    EXPECT_TRUE(IsCharacterKey(key)) << int(key);
  }
  for (uint8_t key : {vk::LeftArrow, vk::UpArrow, vk::F2, vk::F12, vk::Control}) {
    EXPECT_FALSE(IsCharacterKey(key)) << int(key);
  }
}

TEST(KeyNames, CharacterKeysSetKeyHeldAndArrowsDoNot) {
  ResetGameState();
  Event e;
  e.type = EventType::KeyDown;
  e.key = vk::LeftArrow;
  HandleWindowEvent(e);
  EXPECT_EQ(gameState.keyHeld, 0);
  e.key = 'Q';
  HandleWindowEvent(e);
  EXPECT_EQ(gameState.keyHeld, 1);
  e.type = EventType::KeyUp;
  e.key = vk::LeftArrow;
  HandleWindowEvent(e);
  EXPECT_EQ(gameState.keyHeld, 0) << "any key release ends the hold";
  EXPECT_EQ(gameState.keyReleased, 1);
}
