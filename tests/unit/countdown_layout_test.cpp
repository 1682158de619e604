#include "diag/countdown_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(CountdownWindowRect, IsTallerWithACodeAndCentredOnTheScreen) {
  EXPECT_EQ(CountdownWindowHeight(true), 600);
  EXPECT_EQ(CountdownWindowHeight(false), 500);
  EXPECT_EQ(CountdownWindowRect(1280, 1024, true), (LayoutRect{290, 212, 990, 812}));
  EXPECT_EQ(CountdownWindowRect(1280, 1024, false), (LayoutRect{290, 262, 990, 762}));
  // Odd remainders round towards the top left; a screen smaller than the window still
  // centres it, partly off screen.
  EXPECT_EQ(CountdownWindowRect(1367, 769, true), (LayoutRect{333, 84, 1033, 684}));
  EXPECT_EQ(CountdownWindowRect(600, 400, false), (LayoutRect{-50, -50, 650, 450}));
}

TEST(ComputeCountdownLayout, PlacesEveryElementBelowTheMeasuredMessages) {
  // A 700-pixel window with a one-pixel border has a 698-pixel client area.
  const CountdownLayout layout = ComputeCountdownLayout(698, 38, 57);
  EXPECT_EQ(layout.icon, (LayoutRect{317, 20, 381, 84}));
  EXPECT_EQ(layout.caption, (LayoutRect{20, 92, 678, 127}));
  EXPECT_EQ(layout.ruleLeft, 40);
  EXPECT_EQ(layout.ruleRight, 658);
  EXPECT_EQ(layout.ruleY, 137);
  EXPECT_EQ(layout.englishText, (LayoutRect{30, 152, 668, 190}));
  EXPECT_EQ(layout.arabicText, (LayoutRect{30, 200, 668, 257}));
  // F = 38 + 57 = 95.
  EXPECT_EQ(layout.circle, (LayoutRect{304, 277, 394, 367}));
  EXPECT_EQ(layout.seconds, (LayoutRect{304, 287, 394, 357}));
  EXPECT_EQ(layout.englishCountdown, (LayoutRect{20, 377, 678, 397}));
  EXPECT_EQ(layout.arabicCountdown, (LayoutRect{20, 399, 678, 419}));
  EXPECT_EQ(layout.codeLabel, (LayoutRect{20, 429, 678, 447}));
  EXPECT_EQ(layout.codeBox, (LayoutRect{30, 451, 668, 481}));
  EXPECT_EQ(layout.code, (LayoutRect{35, 453, 663, 479}));
  EXPECT_EQ(layout.copiedNote, (LayoutRect{20, 486, 678, 502}));
  // Everything fits the 598-pixel client area of the taller window.
  EXPECT_LT(layout.copiedNote.bottom, 598);
}

TEST(ComputeCountdownLayout, CountsShortMessagesAsTwentyPixelsAndHalvesOddWidths) {
  const CountdownLayout layout = ComputeCountdownLayout(501, 5, 0);
  EXPECT_EQ(layout.icon, (LayoutRect{218, 20, 282, 84}));
  EXPECT_EQ(layout.englishText, (LayoutRect{30, 152, 471, 172}));
  EXPECT_EQ(layout.arabicText, (LayoutRect{30, 182, 471, 202}));
  // F = 20 + 20; the circle is centred on 501 / 2 = 250.
  EXPECT_EQ(layout.circle, (LayoutRect{205, 222, 295, 312}));
  EXPECT_EQ(layout.seconds, (LayoutRect{205, 232, 295, 302}));
  EXPECT_EQ(layout.arabicCountdown, (LayoutRect{20, 344, 481, 364}));
  EXPECT_EQ(layout.copiedNote, (LayoutRect{20, 431, 481, 447}));
}

TEST(CountdownTexts, CarryTheSecondsLeft) {
  EXPECT_EQ(EnglishCountdownText(10), u"Application will close in 10 seconds...");
  EXPECT_EQ(EnglishCountdownText(1), u"Application will close in 1 seconds...");
  EXPECT_EQ(ArabicCountdownText(10), u"سيتم إغلاق التطبيق خلال 10 ثوانٍ...");
  EXPECT_EQ(CountdownFallbackText(u"Failed.", u"فشل.", 10),
            u"Failed.\n\nفشل.\n\nThe application will close in 10 seconds.");
}

TEST(WidenCodeBytes, GivesEachByteOneUnitOfTheSameValue) {
  EXPECT_EQ(WidenCodeBytes("SSL_api.example.com"), u"SSL_api.example.com");
  EXPECT_EQ(WidenCodeBytes(""), u"");
  // Bytes above 0x7F must not turn into negative chars sign-extended to U+FFxx.
  EXPECT_EQ(WidenCodeBytes("h\xC3\xA9"), u"h\u00C3\u00A9");
  EXPECT_EQ(WidenCodeBytes(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

}  // namespace
