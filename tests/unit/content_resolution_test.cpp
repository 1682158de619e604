#include "link/content_resolution.h"

#include <gtest/gtest.h>

namespace {

ContentData Data(std::string type, std::string contentUrl, std::string videoUrl = "") {
  ContentData data;
  data.type = std::move(type);
  data.contentUrl = std::move(contentUrl);
  data.videoUrl = std::move(videoUrl);
  data.watermarkText = "W";
  data.pageScriptId = 9;
  return data;
}

ContentRequest Resolve(const ContentData& data, bool* youTube = nullptr) {
  ContentRequest request;
  request.domain = u"learn.example.org";
  const bool fetched = ApplyContentData(data, request);
  if (youTube != nullptr) *youTube = fetched;
  return request;
}

TEST(ApplyContentData, VideosAndMeetingsAreShownDirectlyOtherTypesPassThrough) {
  const struct {
    const char* type;
    const char* url;
    const char16_t* kind;
  } cases[] = {
      {"video", "https://cdn.example/v.mp4", u"url_direct"},
      {"zoom", "https://example/z", u"url_direct"},
      {"zoom_url", "https://example/z", u"url_direct"},
      {"Video", "https://cdn.example/v.mp4", u"Video"},  // the type is compared exactly
      {"pdf", "https://cdn.example/a.pdf", u"pdf"},
      {"html", "https://us02web.zoom.us/j/1", u"url_direct"},  // a meeting whatever the type
      {"html", "zoom.us/j/1", u"html"},                        // no dot or slashes before it
  };
  for (const auto& [type, url, kind] : cases) {
    bool youTube = true;
    const ContentRequest request = Resolve(Data(type, url), &youTube);
    EXPECT_EQ(request.kind, kind) << type << " " << url;
    EXPECT_EQ(request.url, std::u16string(url, url + std::char_traits<char>::length(url)));
    EXPECT_EQ(request.watermarkText, u"W");
    EXPECT_EQ(request.pageScriptId, 9);
    EXPECT_FALSE(youTube);
  }
}

TEST(ApplyContentData, AYouTubeVideoAddressWinsOverTheContent) {
  bool youTube = false;
  const ContentRequest request =
      Resolve(Data("pdf", "https://cdn.example/a.pdf", "https://youtu.be/ABC?si=x"), &youTube);
  EXPECT_TRUE(youTube);
  EXPECT_EQ(request.kind, u"url_direct");
  EXPECT_EQ(request.url, u"https://www.youtube.com/embed/ABC?origin=learn.example.org");

  // Any other video address is not used at all.
  const ContentRequest other =
      Resolve(Data("pdf", "https://cdn.example/a.pdf", "https://v.example/1"));
  EXPECT_EQ(other.url, u"https://cdn.example/a.pdf");
  EXPECT_EQ(other.kind, u"pdf");
}

TEST(PageScriptAddressFor, AppendsTheSignedDecimalNumber) {
  EXPECT_TRUE(PageScriptAddressFor(7).ends_with(u"/7"));
  EXPECT_TRUE(PageScriptAddressFor(-12).ends_with(u"/-12"));
}

}  // namespace
