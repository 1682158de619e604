// The platform integration guide's answers and request, read by the player's own
// readers: what the guide tells the platform team an answer means is what it means.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/text.h"
#include "link/content_data.h"
#include "link/content_resolution.h"
#include "link/version_check.h"
#include "net/pin_store.h"

namespace {

std::string GuideText() {
  std::ifstream file(QUORVEL_GUIDE_PATH, std::ios::binary);
  EXPECT_TRUE(file) << QUORVEL_GUIDE_PATH;
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The fenced block that follows "<!-- check: NAME -->", without its fence lines.
std::string GuideBlock(const std::string& name) {
  const std::string guide = GuideText();
  const std::size_t marker = guide.find("<!-- check: " + name + " -->");
  if (marker == std::string::npos) {
    ADD_FAILURE() << "the guide has no block '" << name << "'";
    return {};
  }
  const std::size_t open = guide.find("```", marker);
  const std::size_t start = guide.find('\n', open) + 1;
  const std::size_t close = guide.find("\n```", start);
  return guide.substr(start, close - start);
}

HttpResponse Answer(std::uint32_t status, const std::string& block) {
  return HttpResponse{status, GuideBlock(block), status >= 200 && status < 300, ""};
}

struct ContentCase {
  const char* block;
  ContentData data;
  const char16_t* kind;  // what the player makes of it
  const char16_t* shownAddress;
};

TEST(GuideExamples, ContentAnswersMeanWhatTheGuideSays) {
  const ContentCase cases[] = {
      {"answer content-lesson",
       {"lesson", "https://127.0.0.1:8443/lessons/intro.html", "", "Demo learner · متعلم تجريبي",
        1},
       u"lesson",
       u"https://127.0.0.1:8443/lessons/intro.html"},
      {"answer content-pdf",
       {"pdf", "https://127.0.0.1:8443/files/handout.pdf", "", "Learner 12 · متعلم ١٢", 1},
       u"pdf",
       u"https://127.0.0.1:8443/files/handout.pdf"},
      {"answer content-youtube",
       {"video", "https://127.0.0.1:8443/lessons/video.html",
        "https://www.youtube.com/watch?v=ABC123&t=5", "", 7},
       u"url_direct",
       u"https://www.youtube.com/embed/ABC123?origin=127.0.0.1%3a8443"},
  };
  for (const ContentCase& c : cases) {
    SCOPED_TRACE(c.block);
    std::string error;
    const std::optional<ContentData> data = ReadContentDataAnswer(Answer(200, c.block), &error);
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(*data, c.data);
    ContentRequest request;
    request.domain = u"127.0.0.1:8443";
    ApplyContentData(*data, request);
    EXPECT_EQ(request.kind, c.kind);
    EXPECT_EQ(request.url, c.shownAddress);
  }
}

TEST(GuideExamples, ARefusalShowsItsMessage) {
  std::string error;
  EXPECT_FALSE(ReadContentDataAnswer(Answer(403, "answer content-refusal"), &error));
  EXPECT_EQ(error, "انتهت صلاحية الرابط — this link has expired");
}

TEST(GuideExamples, VersionAnswersOfferWhatTheGuideSays) {
  const double running = RunningVersionNumber(u"4.11.0");
  EXPECT_EQ(ReadVersionAnswer(Answer(200, "answer version-optional"), running),
            (VersionInfo{true, false, u"https://downloads.quorvel.test/quorvel-4.12.0.msi"}));
  EXPECT_EQ(ReadVersionAnswer(Answer(200, "answer version-mandatory"), running),
            (VersionInfo{true, true, u""}));
  EXPECT_EQ(ReadVersionAnswer(Answer(200, "answer version-current"), running), VersionInfo{});
}

TEST(GuideExamples, PinListEntriesLoseTheirPrefix) {
  const std::optional<std::vector<PinEntry>> entries = ReadPinList(GuideBlock("answer pin-list"));
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 2u);
  EXPECT_EQ((*entries)[0].scope, u"127.0.0.1");
  EXPECT_EQ((*entries)[0].pins,
            (std::vector<std::string>{"GQDoN2gNwhsSD7EXxN1mv+BKOQZWhsLEj6HTkD225t0=",
                                      "mnmRO/M8Rno4oAX59rY29sx/KmC6X9RCyBIUlhzoO7U="}));
  EXPECT_EQ((*entries)[1].scope, u"media.quorvel.test");
}

TEST(GuideExamples, TheContentRequestIsTheOneThePlayerBuilds) {
  const ContentDataRequest request = BuildContentDataRequest(u"127.0.0.1:8443", "lesson-page",
                                                             "course-web-basics", u"5e0c", u"0f4c");
  const std::string block = GuideBlock("content-request");
  const std::string address = Utf16ToUtf8(request.address);
  const std::string path = address.substr(address.find('/', std::string("https://").size()));
  EXPECT_EQ(block.substr(0, block.find('\n')), "PUT " + path + " HTTP/1.1");
  EXPECT_NE(block.find("\nHost: 127.0.0.1:8443\n"), std::string::npos);
  EXPECT_NE(block.find("\nContent-Type: " + Utf16ToUtf8(request.contentType) + "\n"),
            std::string::npos);
  for (const HeaderField& header : request.headers) {
    EXPECT_NE(block.find("\n" + Utf16ToUtf8(header.name) + ": "), std::string::npos)
        << Utf16ToUtf8(header.name);
  }
  EXPECT_EQ(block.substr(block.rfind('\n') + 1), request.body);
}

}  // namespace
