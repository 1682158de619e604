#include "common/base64.h"

#include <gtest/gtest.h>

namespace {

TEST(Base64, EncodesWithFillToWholeGroups) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("f"), "Zg==");
  EXPECT_EQ(Base64Encode("fo"), "Zm8=");
  EXPECT_EQ(Base64Encode("foo"), "Zm9v");
  EXPECT_EQ(Base64Encode("\xFB\xFF"), "+/8=");
}

TEST(Base64, LenientDecoderStopsAtFillOrStrayCharacter) {
  EXPECT_EQ(Base64Decode(""), "");
  EXPECT_EQ(Base64Decode("Zm9v"), "foo");
  EXPECT_EQ(Base64Decode("Zm9vYg=="), "foob");
  EXPECT_EQ(Base64Decode("Zm9v YmFy"), "foo");   // space ends the input
  EXPECT_EQ(Base64Decode("Zm9v\nYmFy"), "foo");  // so does a line break
  EXPECT_EQ(Base64Decode("Zm9v-YmFy"), "foo");   // and the URL-safe alphabet
  EXPECT_EQ(Base64Decode("Zm9v_YmFy"), "foo");
  EXPECT_EQ(Base64Decode("Zm9v=YmFy"), "foo");
  EXPECT_EQ(Base64Decode("+/8"), "\xFB\xFF");
}

TEST(Base64, LenientDecoderHandlesPartialGroups) {
  EXPECT_EQ(Base64Decode("Zg"), "f");       // two leftover characters: one byte
  EXPECT_EQ(Base64Decode("Zm8"), "fo");     // three: two bytes
  EXPECT_EQ(Base64Decode("Zm9vY"), "foo");  // a lone leftover is dropped
  EXPECT_EQ(Base64Decode("Z"), "");
}

TEST(Base64, StrictDecoderRejectsWhatItDidNotProduce) {
  EXPECT_EQ(Base64DecodeStrict("Zm9vYg=="), "foob");
  EXPECT_EQ(Base64DecodeStrict(""), "");
  EXPECT_FALSE(Base64DecodeStrict("Zm9vYg="));
  EXPECT_FALSE(Base64DecodeStrict("Zm9v Yg="));
  EXPECT_FALSE(Base64DecodeStrict("Zg=v"));
  EXPECT_FALSE(Base64DecodeStrict("Z==="));
}

TEST(Hex, LowerCaseTwoDigitsPerByte) {
  EXPECT_EQ(HexLower(std::string("\x00\x0f\xab\xff", 4)), "000fabff");
  EXPECT_EQ(HexDecode("000FabfF"), std::string("\x00\x0f\xab\xff", 4));
  EXPECT_FALSE(HexDecode("abc"));
  EXPECT_FALSE(HexDecode("zz"));
}

}  // namespace
