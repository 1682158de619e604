#pragma once
// Mouse and keyboard input of the page's window turned into the browser's input commands
// (Input.dispatchMouseEvent, Input.dispatchKeyEvent). Portable, so that both builds test
// it: the window procedure gathers the message's state into these plain structs.

#include <cstdint>
#include <optional>
#include <string>

#include "nlohmann/json.hpp"

namespace standin {

// One command for the browser: its method and parameters.
struct InputEvent {
  std::string method;
  nlohmann::json params;
};

// Modifier bits, as the browser counts them.
enum Modifier : int { kAlt = 1, kControl = 2, kMeta = 4, kShift = 8 };

// Bits of the buttons held, as the browser counts them.
enum ButtonBit : int { kLeftBit = 1, kRightBit = 2, kMiddleBit = 4 };

enum class MouseButton { kNone, kLeft, kRight, kMiddle };

struct MouseInput {
  enum class Kind { kMove, kPress, kRelease, kWheel };
  Kind kind = Kind::kMove;
  int x = 0;  // client pixels
  int y = 0;
  MouseButton button = MouseButton::kNone;  // the one pressed or released
  int buttons = 0;                          // ButtonBit set held after the message
  int click_count = 1;                      // presses: 2 for a double click
  int wheel_x = 0;  // wheel turn in the system's units (120 a notch), right positive
  int wheel_y = 0;  // up (away from the user) positive
  int modifiers = 0;
};

struct KeyInput {
  bool down = true;
  int virtual_key = 0;
  int scan_code = 0;
  bool extended = false;  // the right-hand Ctrl and Alt, the arrows' own block, …
  bool caps_lock = false;
  int modifiers = 0;
};

// Keeps what spans messages: the click count of the last press, so its release reports
// the same, and the first half of a character typed as a surrogate pair.
class InputTranslator {
 public:
  InputEvent Mouse(const MouseInput& input);
  InputEvent Key(const KeyInput& input);
  // One UTF-16 unit of typed text; nothing while the unit only starts a pair, and nothing
  // for control characters other than Enter and Tab (a page gets no keypress for Ctrl+P)
  // or for a surrogate without its partner.
  std::optional<InputEvent> Char(char16_t unit, int modifiers);

 private:
  int last_click_count_ = 1;
  char16_t pending_high_surrogate_ = 0;
};

}  // namespace standin
