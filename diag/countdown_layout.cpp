#include "diag/countdown_layout.h"

#include <algorithm>

#include "common/text.h"

namespace {

std::u16string Decimal(int value) { return AsciiToUtf16(std::to_string(value)); }

}  // namespace

int CountdownWindowHeight(bool hasCode) { return hasCode ? 600 : 500; }

LayoutRect CountdownWindowRect(int screenWidth, int screenHeight, bool hasCode) {
  const int height = CountdownWindowHeight(hasCode);
  const int left = (screenWidth - kCountdownWindowWidth) / 2;
  const int top = (screenHeight - height) / 2;
  return {left, top, left + kCountdownWindowWidth, top + height};
}

CountdownLayout ComputeCountdownLayout(int clientWidth, int englishHeight, int arabicHeight) {
  const int w = clientWidth;
  const int h1 = std::max(englishHeight, kMinimumMessageHeight);
  const int h2 = std::max(arabicHeight, kMinimumMessageHeight);
  // Everything under the messages moves down with their measured height.
  const int f = h1 + h2;
  const int mid = w / 2;

  CountdownLayout layout;
  layout.icon = {(w - 64) / 2, 20, (w - 64) / 2 + 64, 84};
  layout.caption = {20, 92, w - 20, 127};
  layout.ruleLeft = 40;
  layout.ruleRight = w - 40;
  layout.ruleY = 137;
  layout.englishText = {30, 152, w - 30, 152 + h1};
  layout.arabicText = {30, 162 + h1, w - 30, 162 + h1 + h2};
  layout.circle = {mid - 45, f + 182, mid + 45, f + 272};
  layout.seconds = {mid - 45, f + 192, mid + 45, f + 262};
  layout.englishCountdown = {20, f + 282, w - 20, f + 302};
  layout.arabicCountdown = {20, f + 304, w - 20, f + 324};
  layout.codeLabel = {20, f + 334, w - 20, f + 352};
  layout.codeBox = {30, f + 356, w - 30, f + 386};
  layout.code = {35, f + 358, w - 35, f + 384};
  layout.copiedNote = {20, f + 391, w - 20, f + 407};
  return layout;
}

std::u16string EnglishCountdownText(int seconds) {
  return u"Application will close in " + Decimal(seconds) + u" seconds...";
}

std::u16string ArabicCountdownText(int seconds) {
  return u"سيتم إغلاق التطبيق خلال " + Decimal(seconds) + u" ثوانٍ...";
}

std::u16string CountdownFallbackText(std::u16string_view englishText,
                                     std::u16string_view arabicText, int seconds) {
  std::u16string text(englishText);
  text += u"\n\n";
  text += arabicText;
  text += u"\n\nThe application will close in " + Decimal(seconds) + u" seconds.";
  return text;
}

std::u16string WidenCodeBytes(std::string_view code) {
  std::u16string wide;
  wide.reserve(code.size());
  for (const char byte : code) wide.push_back(static_cast<unsigned char>(byte));
  return wide;
}
