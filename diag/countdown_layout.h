#pragma once
// What the diagnostic countdown window shows and where: window size and position, the
// rectangle of every painted element, and its texts. Free of Windows types so the
// arithmetic is checked in both builds; the window code only paints what this says.

#include <string>
#include <string_view>

struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

inline constexpr int kCountdownWindowWidth = 700;
inline constexpr int kCountdownSeconds = 10;
// The measured height of either message never counts as less than this.
inline constexpr int kMinimumMessageHeight = 20;

// Outer height: the code label, box and note need the extra 100 pixels.
int CountdownWindowHeight(bool hasCode);

// The outer window rectangle, centred on a screen of the given size.
LayoutRect CountdownWindowRect(int screenWidth, int screenHeight, bool hasCode);

// Client coordinates of every element for a client area clientWidth wide, with the two
// messages measured at englishHeight and arabicHeight pixels (word-wrapped in the width
// of englishText). The code elements are computed even when no code is shown.
struct CountdownLayout {
  LayoutRect icon;
  LayoutRect caption;
  int ruleLeft = 0;
  int ruleRight = 0;
  int ruleY = 0;
  LayoutRect englishText;
  LayoutRect arabicText;
  LayoutRect circle;
  LayoutRect seconds;
  LayoutRect englishCountdown;
  LayoutRect arabicCountdown;
  LayoutRect codeLabel;
  LayoutRect codeBox;
  LayoutRect code;
  LayoutRect copiedNote;
};
CountdownLayout ComputeCountdownLayout(int clientWidth, int englishHeight, int arabicHeight);

inline constexpr std::u16string_view kCodeLabelText = u"🔒 Diagnostic Code / كود التشخيص";
inline constexpr std::u16string_view kCopiedNoteText = u"Code copied to clipboard automatically";

// The line under the circle in each language, with the seconds left.
std::u16string EnglishCountdownText(int seconds);
std::u16string ArabicCountdownText(int seconds);

// What a message box says when the countdown window cannot be created.
std::u16string CountdownFallbackText(std::u16string_view englishText,
                                     std::u16string_view arabicText, int seconds);

// A diagnostic code is 8-bit text; each byte becomes one UTF-16 unit of the same value,
// so what the user reads is exactly the bytes on the clipboard (the codes are ASCII).
std::u16string WidenCodeBytes(std::string_view code);
