#include "webview/resource_rules.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::u16string> Names(const std::vector<HeaderField>& headers) {
  std::vector<std::u16string> names;
  for (const HeaderField& header : headers) names.push_back(header.name);
  return names;
}

TEST(ResourceIdentityHeaders, PlatformAddressesAndMediaGetTheirOwnPairs) {
  EXPECT_EQ(Names(ResourceIdentityHeaders(u"https://127.0.0.1:8443/page", u"a", u"b")),
            (std::vector<std::u16string>{u"X-Device-Id", u"X-Device-Fingerprint"}));
  EXPECT_EQ(Names(ResourceIdentityHeaders(u"https://cdn.example.org/media/1.ts", u"a", u"b")),
            (std::vector<std::u16string>{u"X-Quorvel-Device", u"X-Quorvel-Machine"}));
  // Both groups: all four.
  EXPECT_EQ(ResourceIdentityHeaders(u"https://localhost/manifest/video.m3u8", u"a", u"b").size(),
            4u);
  EXPECT_EQ(Names(ResourceIdentityHeaders(u"https://localhost/video", u"", u"b")),
            (std::vector<std::u16string>{u"X-Device-Fingerprint", u"X-Quorvel-Machine"}));
  EXPECT_TRUE(ResourceIdentityHeaders(u"https://localhost/playlist", u"", u"").empty());
  EXPECT_TRUE(ResourceIdentityHeaders(u"https://cdn.example.org/videos", u"a", u"b").empty());
  // Never in the clear, whichever group would take them.
  EXPECT_TRUE(ResourceIdentityHeaders(u"http://cdn.example.org/media/1.ts", u"a", u"b").empty());
  EXPECT_TRUE(ResourceIdentityHeaders(u"http://127.0.0.1:8443/page", u"a", u"b").empty());
}

}  // namespace
