#include "tools/runtime-standin/input_events.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

constexpr int kVirtualKeyP = 'P';
constexpr int kVirtualKeyControl = 0x11;

KeyInput Key(int virtual_key, bool down, int modifiers) {
  KeyInput input;
  input.virtual_key = virtual_key;
  input.down = down;
  input.modifiers = modifiers;
  return input;
}

TEST(InputEventsTest, CtrlPReachesThePageAsLowerCasePWithCtrlAndTypesNothing) {
  InputTranslator translator;
  const InputEvent control = translator.Key(Key(kVirtualKeyControl, true, kControl));
  EXPECT_EQ(control.method, "Input.dispatchKeyEvent");
  EXPECT_EQ(control.params["key"], "Control");
  EXPECT_EQ(control.params["code"], "ControlLeft");

  KeyInput p = Key(kVirtualKeyP, true, kControl);
  p.caps_lock = true;  // a shortcut stays lower case whatever Caps Lock says
  EXPECT_EQ(translator.Key(p).params, (nlohmann::json{{"type", "rawKeyDown"},
                                                      {"windowsVirtualKeyCode", kVirtualKeyP},
                                                      {"nativeVirtualKeyCode", kVirtualKeyP},
                                                      {"key", "p"},
                                                      {"code", "KeyP"},
                                                      {"modifiers", kControl}}));
  // The system types Ctrl+P as the control character 0x10: no text for the page.
  EXPECT_FALSE(translator.Char(0x10, kControl).has_value());
  const InputEvent up = translator.Key(Key(kVirtualKeyP, false, kControl));
  EXPECT_EQ(up.params["type"], "keyUp");
  EXPECT_EQ(up.params["key"], "p");
}

TEST(InputEventsTest, LetterKeysFollowShiftAndCapsLockWhenTyping) {
  InputTranslator translator;
  KeyInput shifted = Key('A', true, kShift);
  EXPECT_EQ(translator.Key(shifted).params["key"], "A");
  shifted.caps_lock = true;
  EXPECT_EQ(translator.Key(shifted).params["key"], "a");
  EXPECT_EQ(translator.Key(Key('A', true, kControl | kShift)).params["key"], "A");
  EXPECT_EQ(translator.Key(Key('7', true, 0)).params["code"], "Digit7");
  EXPECT_EQ(translator.Key(Key(0x70, true, 0)).params["key"], "F1");
  EXPECT_EQ(translator.Key(Key(0x7B, true, 0)).params["code"], "F12");
  EXPECT_EQ(translator.Key(Key(0x20, true, 0)).params["key"], " ");
  EXPECT_EQ(translator.Key(Key(0xFF, true, 0)).params["key"], "Unidentified");
}

TEST(InputEventsTest, ClickIsPressAndReleaseWithOneClickCount) {
  InputTranslator translator;
  MouseInput press;
  press.kind = MouseInput::Kind::kPress;
  press.x = 10;
  press.y = 20;
  press.button = MouseButton::kLeft;
  press.buttons = kLeftBit;
  const InputEvent pressed = translator.Mouse(press);
  EXPECT_EQ(pressed.method, "Input.dispatchMouseEvent");
  EXPECT_EQ(pressed.params, (nlohmann::json{{"type", "mousePressed"},
                                            {"x", 10},
                                            {"y", 20},
                                            {"button", "left"},
                                            {"buttons", kLeftBit},
                                            {"clickCount", 1},
                                            {"modifiers", 0}}));

  MouseInput drag = press;
  drag.kind = MouseInput::Kind::kMove;
  drag.x = 15;
  const InputEvent moved = translator.Mouse(drag);
  EXPECT_EQ(moved.params["type"], "mouseMoved");
  EXPECT_EQ(moved.params["button"], "left");  // the held button, during a drag
  EXPECT_EQ(moved.params["buttons"], kLeftBit);

  MouseInput release = press;
  release.kind = MouseInput::Kind::kRelease;
  release.buttons = 0;
  EXPECT_EQ(translator.Mouse(release).params, (nlohmann::json{{"type", "mouseReleased"},
                                                              {"x", 10},
                                                              {"y", 20},
                                                              {"button", "left"},
                                                              {"buttons", 0},
                                                              {"clickCount", 1},
                                                              {"modifiers", 0}}));
}

TEST(InputEventsTest, DoubleClickReleasesWithTheSecondClickCount) {
  InputTranslator translator;
  MouseInput press;
  press.kind = MouseInput::Kind::kPress;
  press.button = MouseButton::kRight;
  press.buttons = kRightBit;
  press.click_count = 2;  // WM_RBUTTONDBLCLK
  EXPECT_EQ(translator.Mouse(press).params["clickCount"], 2);
  MouseInput release = press;
  release.kind = MouseInput::Kind::kRelease;
  release.buttons = 0;
  release.click_count = 1;  // a release message knows nothing of the double click
  const InputEvent released = translator.Mouse(release);
  EXPECT_EQ(released.params["button"], "right");
  EXPECT_EQ(released.params["clickCount"], 2);

  MouseInput hover;
  EXPECT_EQ(translator.Mouse(hover).params["button"], "none");
}

TEST(InputEventsTest, WheelTurnedTowardsTheScreenScrollsUp) {
  InputTranslator translator;
  MouseInput wheel;
  wheel.kind = MouseInput::Kind::kWheel;
  wheel.x = 40;
  wheel.y = 50;
  wheel.wheel_y = 120;
  wheel.modifiers = kShift;
  EXPECT_EQ(translator.Mouse(wheel).params, (nlohmann::json{{"type", "mouseWheel"},
                                                            {"x", 40},
                                                            {"y", 50},
                                                            {"button", "none"},
                                                            {"buttons", 0},
                                                            {"deltaX", 0},
                                                            {"deltaY", -120},
                                                            {"modifiers", kShift}}));
}

TEST(InputEventsTest, SurrogatePairBecomesOneCharacter) {
  InputTranslator translator;
  EXPECT_FALSE(translator.Char(0xD83D, 0).has_value());
  const auto typed = translator.Char(0xDE00, 0);
  ASSERT_TRUE(typed.has_value());
  EXPECT_EQ(typed->method, "Input.dispatchKeyEvent");
  EXPECT_EQ(typed->params, (nlohmann::json{{"type", "char"},
                                           {"text", "\xF0\x9F\x98\x80"},
                                           {"unmodifiedText", "\xF0\x9F\x98\x80"},
                                           {"key", "\xF0\x9F\x98\x80"},
                                           {"modifiers", 0}}));
}

TEST(InputEventsTest, LoneSurrogatesAndControlCharactersTypeNothing) {
  InputTranslator translator;
  EXPECT_FALSE(translator.Char(0xDE00, 0).has_value());  // a low half first
  EXPECT_FALSE(translator.Char(0xD83D, 0).has_value());
  // A high half cut off by another character: the half is dropped, the character typed.
  const auto after_lone_high = translator.Char(u'\x0627', 0);  // Arabic alef
  ASSERT_TRUE(after_lone_high.has_value());
  EXPECT_EQ(after_lone_high->params["text"], "\xD8\xA7");
  EXPECT_FALSE(translator.Char(0xDE00, 0).has_value());  // its low half no longer pairs

  EXPECT_FALSE(translator.Char(0x1B, 0).has_value());  // Escape
  EXPECT_FALSE(translator.Char(0x08, 0).has_value());  // Backspace
  EXPECT_FALSE(translator.Char(0x7F, kControl).has_value());
  const auto enter = translator.Char(u'\r', 0);
  ASSERT_TRUE(enter.has_value());
  EXPECT_EQ(enter->params["text"], "\r");
  EXPECT_EQ(enter->params["key"], "Enter");
}

}  // namespace
}  // namespace standin
