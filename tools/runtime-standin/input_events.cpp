#include "tools/runtime-standin/input_events.h"

#include <string_view>

#include "common/text.h"

namespace standin {
namespace {

// Virtual-key codes, spelled out here so this file needs no Windows headers.
namespace vk {
constexpr int kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kShift = 0x10, kControl = 0x11,
              kMenu = 0x12, kCapital = 0x14, kEscape = 0x1B, kSpace = 0x20, kPrior = 0x21,
              kNext = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26, kRight = 0x27,
              kDown = 0x28, kInsert = 0x2D, kDelete = 0x2E, kLeftWin = 0x5B, kRightWin = 0x5C,
              kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSubtract = 0x6D, kDecimal = 0x6E,
              kDivide = 0x6F, kF1 = 0x70, kF12 = 0x7B, kLeftShift = 0xA0, kRightShift = 0xA1,
              kLeftControl = 0xA2, kRightControl = 0xA3, kLeftMenu = 0xA4, kRightMenu = 0xA5;
constexpr int kRightShiftScanCode = 0x36;
}  // namespace vk

// A key's DOM names: `key` (what it means) and `code` (where it is on the keyboard).
struct KeyNames {
  std::string key;
  std::string code;
};

KeyNames Named(std::string key, std::string code) { return {std::move(key), std::move(code)}; }

KeyNames LetterNames(const KeyInput& input) {
  const char upper = static_cast<char>(input.virtual_key);
  const bool shift = (input.modifiers & kShift) != 0;
  // Caps Lock changes typed letters, not shortcuts: Ctrl+P reaches the page as "p".
  const bool caps = input.caps_lock && (input.modifiers & kControl) == 0;
  const char letter = shift != caps ? upper : static_cast<char>(upper - 'A' + 'a');
  return Named(std::string(1, letter), std::string("Key") + upper);
}

KeyNames DigitNames(const KeyInput& input) {
  // What Shift makes of the digits on the US layout.
  constexpr std::string_view kShifted = ")!@#$%^&*(";
  const int digit = input.virtual_key - '0';
  const char key =
      (input.modifiers & kShift) != 0 ? kShifted[digit] : static_cast<char>('0' + digit);
  return Named(std::string(1, key), "Digit" + std::to_string(digit));
}

KeyNames Names(const KeyInput& input) {
  const int code = input.virtual_key;
  if (code >= 'A' && code <= 'Z') return LetterNames(input);
  if (code >= '0' && code <= '9') return DigitNames(input);
  if (code >= vk::kF1 && code <= vk::kF12) {
    const std::string name = "F" + std::to_string(code - vk::kF1 + 1);
    return Named(name, name);
  }
  if (code >= vk::kNumpad0 && code <= vk::kNumpad0 + 9) {
    const std::string digit = std::to_string(code - vk::kNumpad0);
    return Named(digit, "Numpad" + digit);
  }
  switch (code) {
    case vk::kReturn:
      // The keypad's Enter comes as the extended variant of the main one.
      return Named("Enter", input.extended ? "NumpadEnter" : "Enter");
    case vk::kEscape:
      return Named("Escape", "Escape");
    case vk::kBack:
      return Named("Backspace", "Backspace");
    case vk::kTab:
      return Named("Tab", "Tab");
    case vk::kSpace:
      return Named(" ", "Space");
    case vk::kLeft:
      return Named("ArrowLeft", "ArrowLeft");
    case vk::kUp:
      return Named("ArrowUp", "ArrowUp");
    case vk::kRight:
      return Named("ArrowRight", "ArrowRight");
    case vk::kDown:
      return Named("ArrowDown", "ArrowDown");
    case vk::kPrior:
      return Named("PageUp", "PageUp");
    case vk::kNext:
      return Named("PageDown", "PageDown");
    case vk::kHome:
      return Named("Home", "Home");
    case vk::kEnd:
      return Named("End", "End");
    case vk::kInsert:
      return Named("Insert", "Insert");
    case vk::kDelete:
      return Named("Delete", "Delete");
    case vk::kShift:
      // Both Shift keys share one virtual key; only the scan code tells them apart.
      return Named("Shift",
                   input.scan_code == vk::kRightShiftScanCode ? "ShiftRight" : "ShiftLeft");
    case vk::kLeftShift:
      return Named("Shift", "ShiftLeft");
    case vk::kRightShift:
      return Named("Shift", "ShiftRight");
    case vk::kControl:
      return Named("Control", input.extended ? "ControlRight" : "ControlLeft");
    case vk::kLeftControl:
      return Named("Control", "ControlLeft");
    case vk::kRightControl:
      return Named("Control", "ControlRight");
    case vk::kMenu:
      return Named("Alt", input.extended ? "AltRight" : "AltLeft");
    case vk::kLeftMenu:
      return Named("Alt", "AltLeft");
    case vk::kRightMenu:
      return Named("Alt", "AltRight");
    case vk::kLeftWin:
      return Named("Meta", "MetaLeft");
    case vk::kRightWin:
      return Named("Meta", "MetaRight");
    case vk::kCapital:
      return Named("CapsLock", "CapsLock");
    case vk::kMultiply:
      return Named("*", "NumpadMultiply");
    case vk::kAdd:
      return Named("+", "NumpadAdd");
    case vk::kSubtract:
      return Named("-", "NumpadSubtract");
    case vk::kDecimal:
      return Named(".", "NumpadDecimal");
    case vk::kDivide:
      return Named("/", "NumpadDivide");
    default:
      return Named("Unidentified", "");
  }
}

const char* ButtonName(MouseButton button) {
  switch (button) {
    case MouseButton::kLeft:
      return "left";
    case MouseButton::kRight:
      return "right";
    case MouseButton::kMiddle:
      return "middle";
    case MouseButton::kNone:
      break;
  }
  return "none";
}

// The button a move reports: one of those held, or none.
MouseButton HeldButton(int buttons) {
  if ((buttons & kLeftBit) != 0) return MouseButton::kLeft;
  if ((buttons & kMiddleBit) != 0) return MouseButton::kMiddle;
  if ((buttons & kRightBit) != 0) return MouseButton::kRight;
  return MouseButton::kNone;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

InputEvent InputTranslator::Mouse(const MouseInput& input) {
  nlohmann::json params = {
      {"x", input.x}, {"y", input.y}, {"modifiers", input.modifiers}, {"buttons", input.buttons}};
  switch (input.kind) {
    case MouseInput::Kind::kMove:
      params["type"] = "mouseMoved";
      params["button"] = ButtonName(HeldButton(input.buttons));
      break;
    case MouseInput::Kind::kPress:
      last_click_count_ = input.click_count;
      params["type"] = "mousePressed";
      params["button"] = ButtonName(input.button);
      params["clickCount"] = input.click_count;
      break;
    case MouseInput::Kind::kRelease:
      params["type"] = "mouseReleased";
      params["button"] = ButtonName(input.button);
      params["clickCount"] = last_click_count_;
      break;
    case MouseInput::Kind::kWheel:
      // The system counts a turn towards the screen's top as positive, the browser
      // scrolls down for a positive delta.
      params["type"] = "mouseWheel";
      params["button"] = "none";
      params["deltaX"] = input.wheel_x;
      params["deltaY"] = -input.wheel_y;
      break;
  }
  return {"Input.dispatchMouseEvent", std::move(params)};
}

InputEvent InputTranslator::Key(const KeyInput& input) {
  KeyNames names = Names(input);
  nlohmann::json params = {{"type", input.down ? "rawKeyDown" : "keyUp"},
                           {"windowsVirtualKeyCode", input.virtual_key},
                           {"nativeVirtualKeyCode", input.virtual_key},
                           {"key", std::move(names.key)},
                           {"code", std::move(names.code)},
                           {"modifiers", input.modifiers}};
  return {"Input.dispatchKeyEvent", std::move(params)};
}

std::optional<InputEvent> InputTranslator::Char(char16_t unit, int modifiers) {
  std::u16string text;
  if (IsHighSurrogate(unit)) {
    pending_high_surrogate_ = unit;
    return std::nullopt;
  }
  const char16_t high = pending_high_surrogate_;
  pending_high_surrogate_ = 0;
  if (IsLowSurrogate(unit)) {
    if (high == 0) return std::nullopt;
    text = {high, unit};
  } else if (unit < u' ' && unit != u'\r' && unit != u'\t') {
    return std::nullopt;
  } else if (unit == 0x7F) {  // Ctrl+Backspace
    return std::nullopt;
  } else {
    text = {unit};
  }
  const std::string utf8 = Utf16ToUtf8(text);
  const std::string key = unit == u'\r' ? "Enter" : unit == u'\t' ? "Tab" : utf8;
  nlohmann::json params = {{"type", "char"},
                           {"text", utf8},
                           {"unmodifiedText", utf8},
                           {"key", key},
                           {"modifiers", modifiers}};
  return InputEvent{"Input.dispatchKeyEvent", std::move(params)};
}

}  // namespace standin
