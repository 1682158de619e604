#include "link/percent.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/text.h"

namespace {

struct DecodeCase {
  const char* name;
  std::u16string input;
  std::u16string expected;
};

class PercentDecodeTable : public testing::TestWithParam<DecodeCase> {};

TEST_P(PercentDecodeTable, Decodes) {
  const DecodeCase& c = GetParam();
  EXPECT_EQ(PercentDecode(c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PercentDecodeTable,
    testing::Values(DecodeCase{"TwoHexDigits", u"%41", u"A"},
                    DecodeCase{"SingleDigitAtEndStays", u"a%4", u"a%4"},
                    DecodeCase{"LonePercentAtEndStays", u"a%", u"a%"},
                    DecodeCase{"NonHexStays", u"%zz", u"%zz"},
                    DecodeCase{"NonHexSecondByteIsDropped", u"a%4Gb", std::u16string(u"a\u0004b")},
                    DecodeCase{"LeadingSpaceSkipped", u"% 4", std::u16string(u"\u0004")},
                    DecodeCase{"MinusOneIsByteFFThenReplaced", u"%-1", u"\uFFFD"},
                    DecodeCase{"PlusStaysPlus", u"a+b", u"a+b"},
                    DecodeCase{"EncodedPlus", u"%2B", u"+"},
                    DecodeCase{"EncodedUtf8", u"%D9%85", u"\u0645"},
                    DecodeCase{"LowerCaseHex", u"%d9%85", u"\u0645"},
                    DecodeCase{"EncodedInvalidUtf8Replaced", u"x%C3%28", u"x\uFFFD("},
                    DecodeCase{"NonAsciiInputKept", u"\u00e9%20\u0645", u"\u00e9 \u0645"}),
    [](const testing::TestParamInfo<DecodeCase>& row) { return row.param.name; });

// The two characters after '%' are read as a stream reads a hex number: every pair of
// ASCII characters decodes as that reading says (white space, signs and "0x" included).
TEST(PercentDecode, ReadsEveryAsciiPairAsAHexStreamDoes) {
  for (char16_t first = 0; first < 0x80; ++first) {
    for (char16_t second = 0; second < 0x80; ++second) {
      const std::string pair{static_cast<char>(first), static_cast<char>(second)};
      std::istringstream stream(pair);
      int value = 0;
      stream >> std::hex >> value;
      const std::string expected =
          stream.fail() ? "%" + pair : std::string(1, static_cast<char>(value & 0xFF));
      const std::u16string input{u'%', first, second};
      ASSERT_EQ(PercentDecode(input), Utf8ToUtf16(expected)) << int(first) << " " << int(second);
    }
  }
}

TEST(PercentEncodeUnreserved, KeepsUnreservedAndLowerHexEncodesTheRest) {
  EXPECT_EQ(PercentEncodeUnreserved("a b/+"), "a%20b%2f%2b");
  EXPECT_EQ(PercentEncodeUnreserved("AZaz09-._~"), "AZaz09-._~");
  EXPECT_EQ(PercentEncodeUnreserved("\xC3\xA9\xFF%"), "%c3%a9%ff%25");
  EXPECT_EQ(PercentEncodeUnreserved(std::string("\0", 1)), "%00");
}

TEST(PercentEncodeUnreserved, RoundTripsThroughPercentDecode) {
  const std::string text = "\xD9\x85 a/b?c=d&e+f%";
  const std::string encoded = PercentEncodeUnreserved(text);
  EXPECT_EQ(PercentDecode(std::u16string(encoded.begin(), encoded.end())), u"\u0645 a/b?c=d&e+f%");
}

// What a browser's form serializer writes (the URL standard's
// application/x-www-form-urlencoded byte serializer).
TEST(FormUrlEncode, WritesWhatABrowserFormWrites) {
  const std::pair<std::string, std::string> cases[] = {
      {"AZaz09*-._", "AZaz09*-._"},  {"a b", "a+b"},
      {"+&=%", "%2B%26%3D%25"},      {"~/?#", "%7E%2F%3F%23"},
      {"\xD9\x85\xFF", "%D9%85%FF"}, {std::string("\0\r\n", 3), "%00%0D%0A"},
  };
  for (const auto& [value, encoded] : cases) EXPECT_EQ(FormUrlEncode(value), encoded) << value;
}

}  // namespace
