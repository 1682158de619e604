#include "webview/navigation_policy.h"

#include <gtest/gtest.h>

#include <set>

#include "common/text.h"
#include "webview/message_bridge.h"

namespace {

TEST(HostOf, TheHostABrowserContacts) {
  EXPECT_EQ(HostOf(u"HTTPS://Video.Example.ORG:8443/a/b?c"), u"video.example.org");
  EXPECT_EQ(HostOf(u"blob:https://cdn.example.org/1234"), u"cdn.example.org");
  EXPECT_EQ(HostOf(u"https://youtube.com:x@evil.example/"), u"evil.example");
  EXPECT_EQ(HostOf(u"file://127.0.0.1/share"), u"");
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
  // Addresses are one host each, whatever digits they share.
  EXPECT_TRUE(IsSameSite(u"127.0.0.1", u"127.0.0.1"));
  EXPECT_FALSE(IsSameSite(u"127.0.0.1", u"192.0.0.1"));
  EXPECT_FALSE(IsSameSite(u"[::1]", u"[::2]"));
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

struct NavigationCase {
  std::u16string_view content;
  std::u16string_view kind;
  std::u16string_view target;
  std::string_view decision;  // "allow <rule>" or "cancel <rule>"
};

constexpr std::u16string_view kPdf = u"https://files.example.net/course/a.pdf?sig=1";
constexpr std::u16string_view kYouTube = u"https://www.youtube.com/embed/A?origin=x";
constexpr std::u16string_view kZoom = u"https://us02web.zoom.us/j/1";
constexpr std::u16string_view kVideo = u"https://vz-1.b-cdn.net/embed/1";

// The platform is https://learn.example.org throughout.
constexpr NavigationCase kNavigations[] = {
    {kPdf, u"pdf", u"about:blank", "allow about-blank"},
    {kPdf, u"pdf", u"ABOUT:BLANK", "cancel scheme"},
    {kPdf, u"pdf", u"about:srcdoc", "cancel scheme"},
    {kPdf, u"pdf", u"data:text/html,<p>hi", "cancel scheme"},
    {kPdf, u"pdf", u"file://files.example.net/share", "cancel scheme"},
    {kPdf, u"pdf", u"javascript:alert(1)", "cancel scheme"},
    {kPdf, u"pdf", u"blob:https://files.example.net/uuid", "allow same-site"},
    {kPdf, u"pdf", u"blob:https://evil.example/uuid", "cancel cancel"},
    {kPdf, u"pdf", u"blob:file:///c:/x", "cancel scheme"},
    {kPdf, u"pdf", u"https://files example.net/", "cancel unreadable"},
    // A name before the host dresses one host up as another.
    {kPdf, u"pdf", u"https://youtube.com:x@evil.example/", "cancel user-info"},
    {kPdf, u"pdf", u"https://files.example.net:x@evil.example/", "cancel user-info"},
    {kPdf, u"pdf", u"https://user@files.example.net/course/a.pdf", "cancel user-info"},
    {kPdf, u"pdf", u"https://files.example.net/course/a.pdf#page=2", "allow same-content"},
    {kPdf, u"pdf", u"https://other.example.net/x", "allow same-site"},
    {kPdf, u"pdf", u"https://app.learn.example.org/", "allow same-site"},
    {kPdf, u"pdf", u"https://d1.cloudfront.net:443/v.mp4", "allow allow-list"},
    {kPdf, u"pdf", u"https://evil.example.com/phish", "cancel cancel"},
    {kPdf, u"pdf", u"https://cloudfront.net.evil.com/", "cancel cancel"},
    {kPdf, u"pdf", u"https://files.example.net.evil.example/", "cancel cancel"},
    {kPdf, u"pdf", u"https://evil.example/?u=files.example.net", "cancel cancel"},
    {kPdf, u"pdf", u"https://evil.example\\@files.example.net/", "cancel cancel"},
    // Without a path, only the slash keeps the content from covering look-alikes.
    {u"https://files.test", u"pdf", u"https://files.test.evil.example/x", "cancel cancel"},
    {u"https://files.test", u"pdf", u"https://files.test/x", "allow same-site"},
    {u"https://127.0.0.1:8443/a.pdf", u"pdf", u"https://127.0.0.1:9000/b", "allow same-site"},
    {u"https://127.0.0.1:8443/a.pdf", u"pdf", u"https://192.0.0.1/", "cancel cancel"},
    {kYouTube, u"url_direct", u"https://youtu.be/B", "allow youtube-pair"},
    {kYouTube, u"url_direct", u"https://evil.example/youtube.com/x", "cancel cancel"},
    {kYouTube, u"url_direct", u"https://us02web.zoomx.example/j/1", "cancel cancel"},
    {kZoom, u"zoom", u"https://zoom.us/signin", "allow zoom-pair"},
    {kZoom, u"zoom", u"https://evil.example/.zoom.us", "cancel cancel"},
    // The delivery pairs are on the allow-list; their look-alikes are nobody's.
    {kVideo, u"video", u"https://video.mediadelivery.net/x", "allow allow-list"},
    {kVideo, u"video", u"https://x.b-cdn.net.example/stream", "cancel cancel"},
    {kVideo, u"video", u"https://evilb-cdn.net/stream", "cancel cancel"},
};

TEST(DecidePlayerNavigation, EachAddressByTheStepThatDecides) {
  for (const NavigationCase& c : kNavigations) {
    ContentRequest content;
    content.url = c.content;
    content.domain = u"https://learn.example.org";
    content.kind = c.kind;
    const NavigationDecision decision = DecidePlayerNavigation(c.target, content);
    const std::string seen =
        std::string(decision.allowed ? "allow " : "cancel ") + std::string(RuleName(decision.rule));
    EXPECT_EQ(seen, c.decision) << Utf16ToUtf8(c.target) << " from " << Utf16ToUtf8(c.content);
    EXPECT_EQ(PlayerMayNavigate(c.target, content), decision.allowed);
  }
}

TEST(PlayerTrustsOrigin, HttpsOriginsTheViewMayGoTo) {
  ContentRequest content;
  content.url = u"https://127.0.0.1:8443/a.pdf";
  content.domain = u"127.0.0.1:8443";
  content.kind = u"pdf";
  EXPECT_TRUE(PlayerTrustsOrigin(u"https://127.0.0.1:8443/", content));
  EXPECT_TRUE(PlayerTrustsOrigin(u"https://us02web.zoom.us/", content));
  EXPECT_FALSE(PlayerTrustsOrigin(u"http://127.0.0.1:8443/", content));
  EXPECT_FALSE(PlayerTrustsOrigin(u"https://127.0.0.1.evil.example/", content));
  EXPECT_FALSE(PlayerTrustsOrigin(u"https://evil.example/", content));
  EXPECT_FALSE(PlayerTrustsOrigin(u"about:blank", content));
  EXPECT_FALSE(PlayerTrustsOrigin(u"", content));

  EXPECT_TRUE(InitScreenTrustsOrigin(u"https://127.0.0.1:8443/"));
  EXPECT_TRUE(InitScreenTrustsOrigin(u"https://app.quorvel.test/"));
  EXPECT_FALSE(InitScreenTrustsOrigin(u"https://evil.example/"));
  EXPECT_FALSE(InitScreenTrustsOrigin(u"http://127.0.0.1:8443/"));
}

TEST(ObservedPlatformOrigin, SchemeHostAndPortOfWebAddresses) {
  EXPECT_EQ(ObservedPlatformOrigin(u"https://App.Example.org:8443/courses?x=1"),
            u"https://app.example.org:8443");
  EXPECT_EQ(ObservedPlatformOrigin(u"http://example.org"), u"http://example.org");
  EXPECT_EQ(ObservedPlatformOrigin(u"https://youtube.com:x@evil.example:443/"),
            u"https://evil.example");
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
