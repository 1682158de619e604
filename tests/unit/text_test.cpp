#include "common/text.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8ToUtf16, ConvertsEveryPlane) {
  EXPECT_EQ(Utf8ToUtf16("abc"), u"abc");
  EXPECT_EQ(Utf8ToUtf16("\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7"),
            u"\u0645\u0631\u062D\u0628\u0627");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x80\x94"), u"\u2014");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
}

TEST(Utf8ToUtf16, ReplacesEachMaximalInvalidSubsequence) {
  EXPECT_EQ(Utf8ToUtf16("a\xFFz"), u"a\uFFFDz");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");                      // overlong lead
  EXPECT_EQ(Utf8ToUtf16("\xE2\x80z"), u"\uFFFDz");                          // truncated, one error
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");            // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // past U+10FFFF
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98"), u"\uFFFD");                        // cut at the end
}

TEST(Utf16ToUtf8, RoundTripsAndReplacesLoneSurrogates) {
  const std::u16string text = u"K\u00E9\u0645\u2014\U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(AsciiLower, ChangesOnlyAsciiLettersAndKeepsLength) {
  EXPECT_EQ(AsciiLower(std::u16string_view(u"QuOrVeL:\u00C9\u0130")), u"quorvel:\u00C9\u0130");
}

TEST(TrimTrailingSlashes, RemovesMixedSlashesOnlyAtTheEnd) {
  EXPECT_EQ(TrimTrailingSlashes(std::u16string(u"/a/b/\\/")), u"/a/b");
  EXPECT_EQ(TrimTrailingSlashes(std::string("//")), "");
}

}  // namespace
