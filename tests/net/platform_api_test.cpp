// The link road's platform requests through the simulated platform: content data, the
// version check, and whole links made by quorvel-tool.
#include "link/platform_api.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/text.h"
#include "link/parse_scheme_args.h"
#include "net/pin_store.h"
#include "tests/net/simulator_access.h"

namespace {

using nlohmann::json;

constexpr char16_t kDomain[] = u"127.0.0.1:8443";

class PlatformApiTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!platform_.available()) GTEST_SKIP() << "no platform simulator";
    platform_.SetAnswers(json::object());
    platform_.ClearLog();
    PinStore::Instance().Replace(DefaultPins());
  }
  void TearDown() override { PinStore::Instance().Replace({}); }

  void Answer(const std::string& key, json answer) { platform_.SetAnswers({{key, answer}}); }

  std::optional<ContentData> Content(json answer, std::string* error) {
    Answer("PUT /api/player/content", std::move(answer));
    return GetContentData(kDomain, "lesson-7", "opaque+p1/=", error);
  }

  SimulatorAccess platform_{"PLATFORM"};
};

TEST_F(PlatformApiTest, ContentDataRequestCarriesTheFormAndTheThreeHeaders) {
  std::string error;
  const std::optional<ContentData> data = Content(
      {{"json",
        {{"data", {{"type", "pdf"}, {"url", "https://127.0.0.1:8443/a.pdf"}, {"scriptNumber", 4}}},
         {"watermark", "learner@example.org"}}}},
      &error);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->type, "pdf");
  EXPECT_EQ(data->contentUrl, "https://127.0.0.1:8443/a.pdf");
  EXPECT_EQ(data->watermarkText, "learner@example.org");
  EXPECT_EQ(data->pageScriptId, 4);

  const json put = platform_.Requests().back();
  EXPECT_EQ(put["method"], "PUT");
  EXPECT_EQ(put["path"], "/api/player/content");
  EXPECT_EQ(put["body"], "token=opaque%2Bp1%2F%3D&link_id=lesson-7");
  EXPECT_EQ(put["form"], json::parse(R"({"token": ["opaque+p1/="], "link_id": ["lesson-7"]})"));
  EXPECT_EQ(HeaderOf(put, "Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(HeaderOf(put, "X-Device-Id").size(), 64u);
  EXPECT_EQ(HeaderOf(put, "X-Device-Fingerprint").size(), 64u);
  EXPECT_EQ(HeaderOf(put, "X-Client-Kind"), "desktop-player");
}

TEST_F(PlatformApiTest, ContentDataAnswersOfEveryShape) {
  std::string error;
  // Defaults for absent and null members; numbers truncated toward zero.
  std::optional<ContentData> data =
      Content({{"json", {{"url", "https://x.example/l"}, {"scriptNumber", 3.9}}}}, &error);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->type, "video");
  EXPECT_EQ(data->pageScriptId, 3);
  data = Content({{"json", {{"url", "u"}, {"scriptNumber", nullptr}}}}, &error);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->pageScriptId, 1);

  // A refusal carries the platform's own words.
  EXPECT_FALSE(Content({{"status", 404}, {"json", {{"message", "انتهت صلاحية الرابط"}}}}, &error));
  EXPECT_EQ(error, "انتهت صلاحية الرابط");

  for (const json& answer : {
           json{{"status", 500}, {"body", "<html>Internal error</html>"}},
           json{{"json", {{"url", 12}}}},
           json{{"body", "not json"}},
           json{{"status", 403}, {"json", {{"message", 5}}}},
       }) {
    error.clear();
    EXPECT_FALSE(Content(answer, &error)) << answer.dump();
    EXPECT_EQ(error, "") << answer.dump();
  }

  // No answer at all: the transport's failure is the reason.
  error.clear();
  EXPECT_FALSE(Content({{"close_without_answer", true}}, &error));
  EXPECT_TRUE(error.starts_with("WinHttpReceiveResponse failed: ")) << error;
}

TEST_F(PlatformApiTest, VersionCheckComparesLeadingNumbers) {
  const struct {
    json version;
    bool update;
  } cases[] = {
      {"4.12.0", true}, {"4.11.5", false}, {"4.9", true},
      {5, true},        {"abc", false},    {nullptr, false},
  };
  for (const auto& [version, update] : cases) {
    Answer("GET /api/player/version", {{"json", {{"version", version}}}});
    EXPECT_EQ(CheckForUpdate(4.11, u"").updateAvailable, update) << version.dump();
  }
  // The link's own platform is asked at its own address.
  platform_.ClearLog();
  CheckForUpdate(4.11, kDomain);
  EXPECT_EQ(platform_.Requests().back()["path"], "/api/player/version");
}

TEST_F(PlatformApiTest, VersionCheckReadsRequiredAndLinkOnlyOfANewerVersion) {
  for (const auto& [required, expected] :
       {std::pair{json(1), true}, std::pair{json(1.5), true}, std::pair{json("1"), true},
        std::pair{json(true), false}, std::pair{json("yes"), false}, std::pair{json(2), false},
        std::pair{json(0), false}}) {
    Answer("GET /api/player/version",
           {{"json", {{"version", "9.0"}, {"is_required", required}, {"link", "https://dl/x"}}}});
    const VersionInfo info = CheckForUpdate(4.11, u"");
    EXPECT_TRUE(info.updateAvailable);
    EXPECT_EQ(info.isRequired, expected) << required.dump();
    EXPECT_EQ(info.link, u"https://dl/x");
  }
  Answer("GET /api/player/version", {{"json", {{"version", "9.0"}, {"link", 7}}}});
  EXPECT_EQ(CheckForUpdate(4.11, u""), (VersionInfo{true, false, u""}));

  for (const json& answer : {json{{"json", json::array({1})}}, json{{"json", {{"v", 9}}}},
                             json{{"status", 404}, {"json", {{"version", "9"}}}}}) {
    Answer("GET /api/player/version", answer);
    EXPECT_EQ(CheckForUpdate(4.11, u""), VersionInfo{}) << answer.dump();
  }
}

// Links made by `quorvel-tool link make`, handed over by the driver.
class ParseSchemeArgsTest : public PlatformApiTest {
 protected:
  std::u16string Link(const std::string& name) {
    std::ifstream file(TestEnvironment("QUORVEL_TEST_LINKS"));
    const json links = json::parse(file);
    return Utf8ToUtf16(links.at(name).get<std::string>());
  }

  bool Parse(const std::string& name) { return ParseSchemeArgs(Link(name), request_, reason_); }

  std::vector<std::string> Paths() {
    std::vector<std::string> paths;
    for (const json& request : platform_.Requests()) paths.push_back(request["path"]);
    return paths;
  }

  ContentRequest request_;
  std::string reason_;
};

TEST_F(ParseSchemeArgsTest, DirectAddressNeedsNoPlatform) {
  ASSERT_TRUE(Parse("direct")) << reason_;
  EXPECT_EQ(request_.domain, kDomain);
  EXPECT_EQ(request_.url, u"https://lessons.example.org/intro.html");
  EXPECT_EQ(request_.kind, u"url_direct");
  EXPECT_EQ(request_.pageScriptId, 0);
  EXPECT_TRUE(platform_.Requests().empty());
}

TEST_F(ParseSchemeArgsTest, PlatformKindsBecomeWhatThePlayerShows) {
  Answer("PUT /api/player/content",
         {{"json",
           {{"data", {{"type", "pdf"}, {"url", "https://127.0.0.1:8443/a.pdf"}}},
            {"watermark", "Learner 12"}}}});
  ASSERT_TRUE(Parse("lesson")) << reason_;
  EXPECT_EQ(request_.kind, u"pdf");
  EXPECT_EQ(request_.url, u"https://127.0.0.1:8443/a.pdf");
  EXPECT_EQ(request_.watermarkText, u"Learner 12");
  EXPECT_EQ(platform_.Requests().back()["body"], "token=course-42&link_id=lesson-7");

  Answer("PUT /api/player/content",
         {{"json", {{"type", "html"}, {"url", "https://us02web.zoom.us/j/123"}}}});
  ASSERT_TRUE(Parse("lesson")) << reason_;
  EXPECT_EQ(request_.kind, u"url_direct");
}

// A standard form parser on the platform reads back exactly what the link holds.
TEST_F(ParseSchemeArgsTest, FormValuesArriveAsTheLinkHoldsThem) {
  ASSERT_TRUE(Parse("form_values")) << reason_;
  EXPECT_EQ(platform_.Requests().back()["form"],
            json::parse(R"({"token": ["a+b&c=d%e f/\u00e9"], "link_id": ["id+&=%25\u0645?#"]})"));
}

TEST_F(ParseSchemeArgsTest, YouTubeVideosBecomeEmbedsWithTheirPageScript) {
  Answer("PUT /api/player/content",
         {{"json",
           {{"type", "pdf"},
            {"url", "https://127.0.0.1:8443/a.pdf"},
            {"videoAddress", "https://www.youtube.com/watch?v=ABC123&t=5"},
            {"scriptNumber", 7}}}});
  ASSERT_TRUE(Parse("lesson")) << reason_;
  EXPECT_EQ(request_.kind, u"url_direct");
  EXPECT_EQ(request_.url, u"https://www.youtube.com/embed/ABC123?origin=127.0.0.1%3a8443");
  EXPECT_EQ(request_.pageScript, u"/* page script 7 */");
  const json fetch = platform_.Requests().back();
  EXPECT_EQ(fetch["path"], "/api/player/page-script/7");
  EXPECT_EQ(HeaderOf(fetch, "X-Device-Id"), "") << "the page script's client shares no headers";

  // A missing page script does not fail the link.
  request_.pageScript.clear();
  platform_.SetAnswers(
      {{"PUT /api/player/content",
        {{"json", {{"videoAddress", "https://youtu.be/XYZ"}, {"scriptNumber", -2}}}}},
       {"GET /api/player/page-script/-2", {{"status", 404}}}});
  ASSERT_TRUE(Parse("lesson")) << reason_;
  EXPECT_EQ(request_.url, u"https://www.youtube.com/embed/XYZ?origin=127.0.0.1%3a8443");
  EXPECT_EQ(request_.pageScript, u"");
}

TEST_F(ParseSchemeArgsTest, EveryFailureHasItsReason) {
  Answer("PUT /api/player/content", {{"status", 410}, {"json", {{"message", "Link expired"}}}});
  EXPECT_FALSE(Parse("lesson"));
  EXPECT_EQ(reason_, "server:Link expired");

  // Nothing usable, and a success that names nothing to show (it would open a blank
  // window), end alike.
  for (const json& answer :
       {json{{"status", 500}, {"body", "<html></html>"}},
        json{{"json", {{"data", {{"type", "pdf"}}}}}},
        json{{"json", {{"type", "video"}, {"url", ""}}}},
        json{{"json", {{"url", nullptr}, {"videoAddress", "https://v.test/1"}}}}}) {
    Answer("PUT /api/player/content", answer);
    EXPECT_FALSE(Parse("lesson")) << answer.dump();
    EXPECT_EQ(reason_, "api_content_data_failed") << answer.dump();
  }

  EXPECT_FALSE(Parse("other_key"));
  EXPECT_EQ(reason_, "exception_MAC verification failed — data may be tampered");

  EXPECT_FALSE(ParseSchemeArgs(u"quorvel:only:two", request_, reason_));
  EXPECT_EQ(reason_, "split_failed_parts_2");
}

}  // namespace
