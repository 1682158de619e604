#include "link/scheme_payload.h"

#include <gtest/gtest.h>

#include <array>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/base64.h"
#include "common/text.h"
#include "link/envelope.h"
#include "link/link_key.h"

namespace {

LinkKey MakeKey(char seed) {
  std::array<char, LinkKey::kSize> raw{};
  for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<char>(seed + 7 * i);
  return LinkKey::FromRaw(std::span<const char, LinkKey::kSize>(raw));
}

std::u16string U16(std::string_view ascii) { return AsciiToUtf16(ascii); }

struct Decoded {
  bool ok = false;
  ContentRequest request;
  DecodedLink link;
  std::string reason;
};

class SchemePayload : public testing::Test {
 protected:
  std::u16string Seal(std::string_view plaintext) const {
    return U16(SealEnvelope(plaintext, key_.bytes()));
  }

  // A part whose "mac" member is taken away, or emptied.
  std::u16string SealWithMac(std::string_view plaintext, const nlohmann::json& mac) const {
    nlohmann::json envelope =
        nlohmann::json::parse(Base64Decode(SealEnvelope(plaintext, key_.bytes())));
    if (mac.is_null()) {
      envelope.erase("mac");
    } else {
      envelope["mac"] = mac;
    }
    return U16(Base64Encode(envelope.dump()));
  }

  Decoded Decode(std::u16string_view payload, ContentRequest request = {}) const {
    Decoded d;
    d.request = std::move(request);
    d.ok = DecodeSchemePayload(payload, d.request, d.link, d.reason, &key_);
    return d;
  }

  // Three envelopes whose plaintexts are "p1-token", `second` and `domain`.
  std::u16string Parts(std::string_view second = "link-42",
                       std::string_view domain = "learn.example.test") const {
    return Seal("p1-token") + u":" + Seal(second) + u":" + Seal(domain);
  }

  const LinkKey key_ = MakeKey(0x21);
};

TEST_F(SchemePayload, PrefixAndSurroundingSlashesAreCut) {
  const std::u16string parts = Parts();
  for (const std::u16string& payload :
       {u"quorvel:" + parts, u"QUORVEL:" + parts + u"/", u"/" + parts + u"\\",
        u"xyzquorvel:" + parts, parts + u":" + Seal("ignored")}) {
    SCOPED_TRACE(Utf16ToUtf8(payload.substr(0, 24)));
    const Decoded d = Decode(payload);
    ASSERT_TRUE(d.ok) << d.reason;
    EXPECT_EQ(d.reason, "unknown_error");
    EXPECT_EQ(d.link.p1, "p1-token");
    EXPECT_EQ(d.link.contentLinkId, "link-42");
    EXPECT_FALSE(d.link.directUrl);
    EXPECT_EQ(d.request.domain, u"learn.example.test");
  }
}

TEST_F(SchemePayload, PlusArrivingAsSpaceOrEncodedStillDecrypts) {
  // The Base64 of plain ASCII JSON never holds '+' (a sextet of 62 needs a byte ending
  // in 0x3E), so an extra member of '~' characters is added to the sealed JSON; the
  // decryption reads only iv, value and mac.
  std::string json = Base64Decode(SealEnvelope("p1-token", key_.bytes()));
  ASSERT_TRUE(json.ends_with("}"));
  json.insert(json.size() - 1, R"(,"pad":"~~~")");
  const std::u16string withPlus = U16(Base64Encode(json));
  ASSERT_NE(withPlus.find(u'+'), std::u16string::npos);

  std::u16string asSpace = withPlus;
  std::u16string encoded;
  for (char16_t& c : asSpace) {
    if (c == u'+') c = u' ';
  }
  for (const char16_t c : withPlus)
    encoded += c == u'+' ? std::u16string(u"%2B") : std::u16string(1, c);

  const std::u16string rest = u":" + Seal("link-42") + u":" + Seal("learn.example.test");
  for (const std::u16string& first : {withPlus, asSpace, encoded}) {
    const Decoded d = Decode(u"quorvel:" + first + rest);
    ASSERT_TRUE(d.ok) << d.reason;
    EXPECT_EQ(d.link.p1, "p1-token");
  }
}

TEST_F(SchemePayload, SecondPartDecidesWhetherTheAddressIsDirect) {
  struct Case {
    std::string second;
    bool direct;
  };
  for (const Case& c : {Case{"https://x.test/a", true}, Case{"http://x.test/a", true},
                        Case{"HTTPS://x.test/a", false}, Case{"ftp://x.test/a", false},
                        Case{" https://x.test/a", false}}) {
    SCOPED_TRACE(c.second);
    ContentRequest before;
    before.url = u"previous";
    before.kind = u"video";
    before.watermarkText = u"wm";
    before.pageScriptId = 7;
    const Decoded d = Decode(u"quorvel:" + Parts(c.second), before);
    ASSERT_TRUE(d.ok) << d.reason;
    EXPECT_EQ(d.link.contentLinkId, c.second);
    EXPECT_EQ(d.link.directUrl, c.direct);
    if (c.direct) {
      EXPECT_EQ(d.request.url, U16(c.second));
      EXPECT_EQ(d.request.kind, u"url_direct");
      EXPECT_EQ(d.request.watermarkText, u"");
      EXPECT_EQ(d.request.pageScriptId, 0);
    } else {
      EXPECT_EQ(d.request.url, u"previous");
      EXPECT_EQ(d.request.kind, u"video");
      EXPECT_EQ(d.request.watermarkText, u"wm");
      EXPECT_EQ(d.request.pageScriptId, 7);
    }
  }
}

TEST_F(SchemePayload, DomainLosesTrailingSlashesAndIsReadAsUtf8) {
  EXPECT_EQ(Decode(Parts("link-42", "example.test//\\")).request.domain, u"example.test");
  EXPECT_EQ(Decode(Parts("link-42", "\xC3\xA9.test/")).request.domain, u"\u00e9.test");
}

TEST_F(SchemePayload, OnlyHttpsDomainsAreAccepted) {
  struct Case {
    std::string domain;
    bool accepted;
  };
  for (const Case& c : {Case{"learn.example.test", true}, Case{"127.0.0.1:8443/", true},
                        Case{"https://learn.example.test", true}, Case{"HTTPS://a.test", true},
                        Case{"http://learn.example.test", false}, Case{"HTTP://a.test", false},
                        Case{"ftp://a.test", false}, Case{"a.test/?next=https://b.test", false},
                        Case{"//", false}}) {
    const Decoded d = Decode(Parts("link-42", c.domain));
    EXPECT_EQ(d.ok, c.accepted) << c.domain;
    EXPECT_EQ(d.reason, c.accepted ? "unknown_error" : "domain_failed_not_https") << c.domain;
  }
  // A direct address is refused too: the version check still asks the link's domain.
  EXPECT_EQ(Decode(Parts("https://x.test/a", "http://a.test")).reason, "domain_failed_not_https");
}

TEST_F(SchemePayload, EveryPartNeedsItsMac) {
  const std::u16string a = Seal("p1-token");
  const std::u16string b = Seal("link-42");
  const std::u16string c = Seal("learn.example.test");
  for (const nlohmann::json& mac : {nlohmann::json(), nlohmann::json("")}) {
    for (const std::u16string& payload :
         {SealWithMac("p1-token", mac) + u":" + b + u":" + c,
          a + u":" + SealWithMac("https://ev.il/", mac) + u":" + c,
          a + u":" + b + u":" + SealWithMac("learn.example.test", mac)}) {
      const Decoded d = Decode(payload);
      EXPECT_FALSE(d.ok);
      EXPECT_EQ(d.reason, "decrypt_failed_missing_mac") << mac.dump();
    }
  }
}

TEST_F(SchemePayload, TooFewPartsAreCounted) {
  const std::u16string a = Seal("p1-token");
  const std::u16string b = Seal("link-42");
  struct Case {
    std::u16string payload;
    std::string reason;
  };
  for (const Case& c :
       {Case{u"", "split_failed_parts_0"}, Case{u"quorvel:", "split_failed_parts_0"},
        Case{u"quorvel://", "split_failed_parts_0"}, Case{u"quorvel:" + a, "split_failed_parts_1"},
        Case{u"quorvel:" + a + u":" + b, "split_failed_parts_2"},
        Case{u"quorvel:" + a + u":" + b + u":", "split_failed_parts_2"}}) {
    SCOPED_TRACE(c.reason);
    const Decoded d = Decode(c.payload);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.reason, c.reason);
  }
}

TEST_F(SchemePayload, AnyEmptyPlaintextFails) {
  const std::u16string a = Seal("p1-token");
  const std::u16string b = Seal("link-42");
  const std::u16string c = Seal("learn.example.test");
  const std::u16string empty = Seal("");
  for (const std::u16string& payload :
       {empty + u":" + b + u":" + c, a + u":" + empty + u":" + c, a + u":" + b + u":" + empty}) {
    const Decoded d = Decode(payload);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.reason, "decrypt_failed_empty_strings");
  }
}

TEST_F(SchemePayload, EnvelopeErrorsBecomeExceptionReasons) {
  const LinkKey otherKey = MakeKey(0x55);
  const std::u16string b = Seal("link-42");
  const std::u16string c = Seal("learn.example.test");
  const std::u16string foreign = U16(SealEnvelope("p1-token", otherKey.bytes()));
  const std::u16string noIv = U16(Base64Encode(R"({"value":"AAAAAAAAAAAAAAAAAAAAAA==","mac":""})"));

  Decoded d = Decode(foreign + u":" + b + u":" + c);
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.reason, "exception_MAC verification failed \xE2\x80\x94 data may be tampered");

  d = Decode(u"!!!:" + b + u":" + c);
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.reason, "exception_Failed to parse AES envelope JSON");

  d = Decode(noIv + u":" + b + u":" + c);
  EXPECT_FALSE(d.ok);
  EXPECT_TRUE(d.reason.starts_with(
      "exception_[json.exception.type_error.302] type must be string, but is null"))
      << d.reason;
}

TEST(SchemePayloadBuildKey, DecodesLinksSealedWithTheBuildsOwnKey) {
  const std::string a = SealEnvelope("p1-token", LinkKey().bytes());
  const std::string b = SealEnvelope("https://x.test/a", LinkKey().bytes());
  const std::string c = SealEnvelope("learn.example.test/", LinkKey().bytes());
  ContentRequest request;
  DecodedLink link;
  std::string reason;
  ASSERT_TRUE(
      DecodeSchemePayload(AsciiToUtf16("quorvel:" + a + ":" + b + ":" + c), request, link, reason))
      << reason;
  EXPECT_EQ(reason, "unknown_error");
  EXPECT_EQ(link.p1, "p1-token");
  EXPECT_TRUE(link.directUrl);
  EXPECT_EQ(request.url, u"https://x.test/a");
  EXPECT_EQ(request.domain, u"learn.example.test");
}

TEST(SplitAtColons, SplitsLikeALineReader) {
  using Parts = std::vector<std::u16string>;
  EXPECT_EQ(SplitAtColons(u""), Parts{});
  EXPECT_EQ(SplitAtColons(u"a::b"), (Parts{u"a", u"", u"b"}));
  EXPECT_EQ(SplitAtColons(u"a:"), Parts{u"a"});
  EXPECT_EQ(SplitAtColons(u":"), Parts{u""});
  EXPECT_EQ(SplitAtColons(u"::"), (Parts{u"", u""}));
  EXPECT_EQ(SplitAtColons(u"a:b:c:d"), (Parts{u"a", u"b", u"c", u"d"}));
}

}  // namespace
