#include "link/video_url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::u16string_view kDomain = u"learn.example.test";
const std::u16string kEmbed = u"https://www.youtube.com/embed/";
const std::u16string kOrigin = u"origin=learn.example.test";

struct NormalizeCase {
  const char* name;
  std::u16string input;
  std::u16string expected;
};

class NormalizeYouTubeUrlTable : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeYouTubeUrlTable, GivesTheEmbedAddressOrTheInput) {
  const NormalizeCase& c = GetParam();
  EXPECT_EQ(NormalizeYouTubeUrl(c.input, kDomain), c.expected);
}

const std::u16string kEmbedInput = u"https://www.youtube.com/embed/ABC123";

INSTANTIATE_TEST_SUITE_P(
    Forms, NormalizeYouTubeUrlTable,
    testing::Values(
        NormalizeCase{"WatchStopsAtAmpersand", u"https://www.youtube.com/watch?v=ABC123&t=5",
                      kEmbed + u"ABC123?" + kOrigin},
        NormalizeCase{"ShortLinkStopsAtQuestionMark", u"https://youtu.be/ABC123?si=xyz",
                      kEmbed + u"ABC123?" + kOrigin},
        NormalizeCase{"ShortLinkTrailingSlashTrimmed", u"https://youtu.be/ABC123/",
                      kEmbed + u"ABC123?" + kOrigin},
        NormalizeCase{"ShortsStopsAtQuestionMark",
                      u"https://www.youtube.com/shorts/ABC123?feature=share",
                      kEmbed + u"ABC123?" + kOrigin},
        NormalizeCase{"ShortsSlashSearchWinsOverQuestionMark",
                      u"https://www.youtube.com/shorts/ABC123?x=a/b",
                      kEmbed + u"ABC123?x=a?" + kOrigin},
        NormalizeCase{"Live", u"https://www.youtube.com/live/ABC123",
                      kEmbed + u"ABC123?" + kOrigin},
        NormalizeCase{"EmbedGetsOriginAfterQuestionMark", kEmbedInput,
                      kEmbedInput + u"?" + kOrigin},
        NormalizeCase{"EmbedWithQueryGetsOriginAfterAmpersand", kEmbedInput + u"?rel=0",
                      kEmbedInput + u"?rel=0&" + kOrigin},
        NormalizeCase{"EmbedWithOriginUnchanged", kEmbedInput + u"?origin=x",
                      kEmbedInput + u"?origin=x"},
        NormalizeCase{"EmptyWatchIdUnchanged", u"https://www.youtube.com/watch?v=&t=5",
                      u"https://www.youtube.com/watch?v=&t=5"},
        NormalizeCase{"ChannelUnchanged", u"https://www.youtube.com/channel/XYZ",
                      u"https://www.youtube.com/channel/XYZ"},
        NormalizeCase{"MarkersFoundCaseInsensitively", u"https://www.youtube.com/WATCH?V=ABC",
                      kEmbed + u"ABC?" + kOrigin},
        NormalizeCase{"IdKeepsHash", u"https://youtu.be/AB#C1", kEmbed + u"AB#C1?" + kOrigin}),
    [](const testing::TestParamInfo<NormalizeCase>& row) { return row.param.name; });

TEST(NormalizeYouTubeUrl, DomainWithSchemeIsPercentEncodedInOrigin) {
  EXPECT_EQ(NormalizeYouTubeUrl(u"https://youtu.be/ABC123", u"https://a.b"),
            kEmbed + u"ABC123?origin=https%3a%2f%2fa.b");
}

TEST(PercentEncodeOrigin, EncodesUtf8BytesAndKeepsUnreserved) {
  EXPECT_EQ(PercentEncodeOrigin(u"\u00e9"), u"%c3%a9");
  EXPECT_EQ(PercentEncodeOrigin(u"a-b._~Z9"), u"a-b._~Z9");
  EXPECT_EQ(PercentEncodeOrigin(u"x:8080/"), u"x%3a8080%2f");
}

struct HostCase {
  std::u16string url;
  bool youtube;
  bool zoom;
};

class HostRecognition : public testing::TestWithParam<HostCase> {};

TEST_P(HostRecognition, MatchesTheDomainMarkers) {
  const HostCase& c = GetParam();
  EXPECT_EQ(IsYouTubeUrl(c.url), c.youtube);
  EXPECT_EQ(IsZoomUrl(c.url), c.zoom);
}

INSTANTIATE_TEST_SUITE_P(Urls, HostRecognition,
                         testing::Values(HostCase{u"https://us02web.zoom.us/j/1", false, true},
                                         HostCase{u"https://zoom.us/j/1", false, true},
                                         HostCase{u"https://ZOOM.US/j/1", false, true},
                                         HostCase{u"zoom.us/j/1", false, false},
                                         HostCase{u"https://youtu.be/ABC", true, false},
                                         HostCase{u"https://WWW.YOUTUBE.COM/watch?v=1", true,
                                                  false},
                                         HostCase{u"https://vimeo.com/1", false, false}));

}  // namespace
