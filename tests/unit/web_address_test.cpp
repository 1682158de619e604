#include "common/web_address.h"

#include <gtest/gtest.h>

namespace {

struct Reading {
  std::u16string_view address;
  std::u16string_view host;  // empty: refused
  int port = 0;
  bool userInfo = false;
};

// What a browser contacts for each address; the tricks a hostile page or link plays
// on a reader that searches text instead of parsing it.
constexpr Reading kReadings[] = {
    {u"https://example.com/x", u"example.com", 443},
    {u"HTTP://EXAMPLE.COM:8443/A", u"example.com", 8443},
    {u"http://example.com:0080/", u"example.com", 80},
    {u"https://example.com:/", u"example.com", 443},
    // User information ends at the last '@', whatever ':' it holds.
    {u"https://youtube.com:x@evil.example/", u"evil.example", 443, true},
    {u"https://a@b@evil.example:8443/", u"evil.example", 8443, true},
    {u"https://@evil.example/", u"evil.example", 443, true},
    // A backslash ends the authority like a slash; slashes after the scheme are skipped.
    {u"https://youtube.com\\@evil.example/", u"youtube.com", 443},
    {u"https://evil.example\\.youtube.com/", u"evil.example", 443},
    {u"https:\\\\evil.example/", u"evil.example", 443},
    {u"https:evil.example", u"evil.example", 443},
    {u"https:////evil.example/", u"evil.example", 443},
    // Tabs and line breaks vanish; outer spaces and controls are trimmed.
    {u"ht\ttps://ev\nil.exa\rmple/", u"evil.example", 443},
    {u" \x01https://evil.example/ ", u"evil.example", 443},
    // Escapes in the host are undone before it is judged.
    {u"https://%65vil.example/", u"evil.example", 443},
    {u"https://evil.example%2F.youtube.com/", u""},
    {u"https://evil.example%00.youtube.com/", u""},
    {u"https://ex%zzample.com/", u""},
    // Numbers are IPv4 addresses in any of their historical forms.
    {u"http://0x7f.1/", u"127.0.0.1", 80},
    {u"http://2130706433/", u"127.0.0.1", 80},
    {u"http://0177.0.0.01/", u"127.0.0.1", 80},
    {u"http://127.0.0.1./", u"127.0.0.1", 80},
    {u"http://x.127.0.0.1/", u""},
    {u"http://1.2.3.4.5/", u""},
    {u"http://256.1.1.1/", u""},
    {u"http://1.2.3.09/", u""},
    // A trailing dot is part of a name.
    {u"http://Example.COM./", u"example.com.", 80},
    // IPv6 literals in their one written form.
    {u"http://[::1]:8080/", u"[::1]", 8080},
    {u"http://[0:0:0:0:0:0:0:1]/", u"[::1]", 80},
    {u"http://[1:0:0:2:0:0:0:3]/", u"[1:0:0:2::3]", 80},
    {u"http://[::ffff:127.0.0.1]/", u"[::ffff:7f00:1]", 80},
    {u"http://[ABCD::]/", u"[abcd::]", 80},
    {u"http://[::1/", u""},
    {u"http://[1::2::3]/", u""},
    {u"http://[1:2:3:4:5:6:7:8:9]/", u""},
    // What follows the authority decides nothing about the host.
    {u"https://example.com?u=://127.0.0.1", u"example.com", 443},
    {u"https://example.com#@evil.example", u"example.com", 443},
    // Refused: ports out of range or not numbers, no host, names needing IDNA, forbidden
    // characters, and every scheme that is not a web scheme.
    {u"https://example.com:65536/", u""},
    {u"https://example.com:44x/", u""},
    {u"https://user@/", u""},
    {u"https:///", u""},
    {u"https://m\u00FCnchen.example/", u""},
    {u"https://exa mple.com/", u""},
    {u"https://exa|mple.com/", u""},
    {u"file://files.example/share", u""},
    {u"javascript:alert(1)", u""},
    {u"blob:https://example.com/1", u""},
    {u"about:blank", u""},
    {u"//example.com/", u""},
    {u"", u""},
};

TEST(ReadWebAddress, NamesTheHostTheBrowserContacts) {
  for (const Reading& reading : kReadings) {
    SCOPED_TRACE(std::string(reading.address.begin(), reading.address.end()));
    const std::optional<WebAddress> address = ReadWebAddress(reading.address);
    if (reading.host.empty()) {
      EXPECT_FALSE(address.has_value());
      continue;
    }
    ASSERT_TRUE(address.has_value());
    EXPECT_EQ(address->host, reading.host);
    EXPECT_EQ(address->port, reading.port);
    EXPECT_EQ(address->hasUserInfo, reading.userInfo);
  }
}

TEST(ReadWebAddress, KeepsSchemeAndWhatFollowsTheAuthority) {
  const std::optional<WebAddress> address = ReadWebAddress(u"HTTPS://a.example:1/p/q?x#y");
  ASSERT_TRUE(address.has_value());
  EXPECT_EQ(address->scheme, u"https");
  EXPECT_EQ(address->rest, u"/p/q?x#y");
  EXPECT_EQ(ReadWebAddress(u"http://a.example")->rest, u"");
}

TEST(HostIsOrIsUnder, NeedsTheWholeNameOrADotBeforeIt) {
  EXPECT_TRUE(HostIsOrIsUnder(u"files.test", u"files.test"));
  EXPECT_TRUE(HostIsOrIsUnder(u"cdn.files.test", u"files.test"));
  EXPECT_FALSE(HostIsOrIsUnder(u"evilfiles.test", u"files.test"));
  EXPECT_FALSE(HostIsOrIsUnder(u"files.test.evil.example", u"files.test"));
  EXPECT_FALSE(HostIsOrIsUnder(u"files.test", u""));
}

}  // namespace
