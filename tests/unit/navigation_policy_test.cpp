#include "webview/navigation_policy.h"

#include <gtest/gtest.h>

#include <set>

#include "webview/message_bridge.h"

namespace {

TEST(HostOf, HostAloneInLowerCase) {
  EXPECT_EQ(HostOf(u"HTTPS://Video.Example.ORG:8443/a/b?c"), u"video.example.org");
  EXPECT_EQ(HostOf(u"blob:https://cdn.example.org/1234"), u"cdn.example.org");
  EXPECT_EQ(HostOf(u"https://user@host.example/x"), u"user@host.example");
  EXPECT_EQ(HostOf(u"about:blank"), u"");
  EXPECT_EQ(HostOf(u"://"), u"");
}

TEST(IsSameSite, EqualNestedOrSameLastTwoLabels) {
  EXPECT_TRUE(IsSameSite(u"a.example.org", u"a.example.org"));
  EXPECT_TRUE(IsSameSite(u"cdn.example.org", u"example.org"));
  EXPECT_TRUE(IsSameSite(u"example.org", u"x.y.example.org"));
  EXPECT_FALSE(IsSameSite(u"badexample.org", u"example.org"));
  EXPECT_TRUE(IsSameSite(u"aa.example.org", u"bb.example.org"));
  // Two unrelated sites under one two-label public suffix look the same here.
  EXPECT_TRUE(IsSameSite(u"shop.co.uk", u"bank.co.uk"));
  EXPECT_FALSE(IsSameSite(u"", u""));
  EXPECT_FALSE(IsSameSite(u"aa.example.org", u"bb.example.net"));
}

TEST(IsAllowedDomain, EntriesAndTheirSubdomainsOnly) {
  EXPECT_EQ(AllowedDomains().size(), 39u);
  EXPECT_EQ(std::set<std::u16string>(AllowedDomains().begin(), AllowedDomains().end()).size(), 39u);
  EXPECT_EQ(AllowedDomains()[0], u"127.0.0.1");
  EXPECT_TRUE(IsAllowedDomain(u"player.vimeo.com"));
  EXPECT_TRUE(IsAllowedDomain(u"vimeo.com"));
  EXPECT_FALSE(IsAllowedDomain(u"evilvimeo.com"));
  EXPECT_FALSE(IsAllowedDomain(u""));
}

ContentRequest Content(std::u16string url, std::u16string kind = u"pdf") {
  ContentRequest content;
  content.url = std::move(url);
  content.domain = u"learn.example.org";
  content.kind = std::move(kind);
  return content;
}

TEST(PlayerMayNavigate, StaysOnItsContent) {
  const ContentRequest pdf = Content(u"https://files.example.net/course/a.pdf?sig=1");
  EXPECT_TRUE(PlayerMayNavigate(u"about:blank", pdf));
  EXPECT_FALSE(PlayerMayNavigate(u"ABOUT:BLANK", pdf));
  EXPECT_TRUE(PlayerMayNavigate(u"https://files.example.net/course/a.pdf#page=2", pdf));
  EXPECT_TRUE(PlayerMayNavigate(u"https://files.example.net/course/a.pdf/part", pdf));
  EXPECT_TRUE(PlayerMayNavigate(u"https://other.example.net/x", pdf));  // same site
  EXPECT_TRUE(PlayerMayNavigate(u"https://d1.cloudfront.net:443/v.mp4", pdf));
  EXPECT_TRUE(PlayerMayNavigate(u"blob:https://files.example.net/uuid", pdf));
  EXPECT_FALSE(PlayerMayNavigate(u"https://evil.example.com/phish", pdf));
  EXPECT_FALSE(PlayerMayNavigate(u"https://cloudfront.net.evil.com/", pdf));

  const ContentRequest youTube =
      Content(u"https://www.youtube.com/embed/A?origin=x", u"url_direct");
  EXPECT_TRUE(PlayerMayNavigate(u"https://youtu.be/B", youTube));
  EXPECT_FALSE(PlayerMayNavigate(u"https://us02web.zoomx.example/j/1", youTube));
}

TEST(PlayerMayNavigate, DirectVideosMayMoveWithinTheirDeliveryPair) {
  ContentRequest video = Content(u"https://video-7.mediadelivery.net.example/embed/1", u"video");
  EXPECT_TRUE(PlayerMayNavigate(u"https://x.b-cdn.net.example/stream", video));
  EXPECT_FALSE(PlayerMayNavigate(u"https://x.vimeocdn.com.example/stream", video));
  video.kind = u"pdf";
  EXPECT_FALSE(PlayerMayNavigate(u"https://x.b-cdn.net.example/stream", video));
}

TEST(ObservedPlatformOrigin, SchemeAndHostOfWebAddresses) {
  EXPECT_EQ(ObservedPlatformOrigin(u"https://App.Example.org:8443/courses?x=1"),
            u"https://App.Example.org:8443");
  EXPECT_EQ(ObservedPlatformOrigin(u"http://example.org"), u"http://example.org");
  EXPECT_FALSE(ObservedPlatformOrigin(u"https://example.org/SELECT-TENANTS"));
  EXPECT_FALSE(ObservedPlatformOrigin(u"ftp://example.org/"));
  EXPECT_FALSE(ObservedPlatformOrigin(u"about:blank"));
}

TEST(MessageBridge, ExactWordsQuotedFormsAndPrintObjects) {
  EXPECT_TRUE(IsPrintRequest(u"requestPrint"));
  EXPECT_TRUE(IsPrintRequest(u"\"requestPrint\""));
  EXPECT_TRUE(IsPrintRequest(u"{\"type\":\"requestPrint\"}"));
  EXPECT_FALSE(IsPrintRequest(u"RequestPrint"));
  EXPECT_FALSE(IsPrintRequest(u"requestPrint "));

  EXPECT_EQ(InitScreenCommandFor(u"btn_home", true), InitScreenCommand::kHome);
  EXPECT_EQ(InitScreenCommandFor(u"btn_home", false), InitScreenCommand::kNone);
  EXPECT_EQ(InitScreenCommandFor(u"btn_reload", true), InitScreenCommand::kReload);
  EXPECT_EQ(InitScreenCommandFor(u"btn_back ", true), InitScreenCommand::kNone);
  EXPECT_EQ(InitScreenCommandFor(u"btn_fullscreen", false), InitScreenCommand::kToggleFullscreen);
  EXPECT_EQ(InitScreenCommandFor(u"toggleFullscreen", true), InitScreenCommand::kNone);

  EXPECT_EQ(PlayerCommandFor(u"\"toggleFullscreen\""), PlayerCommand::kToggleFullscreen);
  EXPECT_EQ(PlayerCommandFor(u"pageLoaded"), PlayerCommand::kPageLoaded);
  EXPECT_EQ(PlayerCommandFor(u"x toggleFullscreen"), PlayerCommand::kNone);
  EXPECT_EQ(PlayerCommandFor(u"btn_home"), PlayerCommand::kNone);
  EXPECT_EQ(PlayerCommandFor(u"\"requestPrint\""), PlayerCommand::kPrint);
}

}  // namespace
