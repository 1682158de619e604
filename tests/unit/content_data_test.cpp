#include "link/content_data.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "common/platform_values.h"
#include "common/text.h"
#include "link/api_address.h"

namespace {

using nlohmann::json;

struct AddressCase {
  std::u16string domain;
  std::u16string base;
};

class ApiBaseAddressTable : public testing::TestWithParam<AddressCase> {};

TEST_P(ApiBaseAddressTable, TrimsAndAddsHttpsWhenNoSchemeIsGiven) {
  EXPECT_EQ(ApiBaseAddress(GetParam().domain), GetParam().base);
}

INSTANTIATE_TEST_SUITE_P(
    Domains, ApiBaseAddressTable,
    testing::Values(AddressCase{u"learn.example.test/", u"https://learn.example.test"},
                    AddressCase{u"learn.example.test\\/\\", u"https://learn.example.test"},
                    AddressCase{u"http://learn.example.test", u"http://learn.example.test"},
                    AddressCase{u"https://a.test:8443/", u"https://a.test:8443"},
                    AddressCase{u"", u""}, AddressCase{u"/\\/", u""},
                    AddressCase{u"x://", u"https://x:"},
                    AddressCase{u"ftp://f.test/", u"ftp://f.test"}));

TEST(BuildContentDataRequest, SendsP1ThenTheLinkIdFormEncoded) {
  const ContentDataRequest request =
      BuildContentDataRequest(u"learn.example.test/", "id &=%41", "p1+/ é", u"dev-1", u"dev-2");
  EXPECT_EQ(request.address, u"https://learn.example.test" + AsciiToUtf16(ContentDataPath()));
  EXPECT_EQ(request.body, ContentFormFirstText() + "p1%2B%2F+%C3%A9" + ContentFormSecondText() +
                              "id+%26%3D%2541");
  EXPECT_EQ(request.contentType, u"application/x-www-form-urlencoded");
  EXPECT_EQ(request.headers[0].name, AsciiToUtf16(DeviceIdHeaderName()));
  EXPECT_EQ(request.headers[0].value, u"dev-1");
  EXPECT_EQ(request.headers[1].name, AsciiToUtf16(DeviceIdSecondHeaderName()));
  EXPECT_EQ(request.headers[1].value, u"dev-2");
  EXPECT_EQ(request.headers[2].name, AsciiToUtf16(ClientHeaderName()));
  EXPECT_EQ(request.headers[2].value, AsciiToUtf16(ClientHeaderValue()));
}

HttpResponse Answer(std::uint32_t status, std::string body, std::string error = {}) {
  return {status, std::move(body), status >= 200 && status <= 299, std::move(error)};
}

HttpResponse Ok(const json& body) { return Answer(200, body.dump()); }

ContentData Record(std::string type, std::string url, std::string video = {},
                   std::string watermark = {}, std::int32_t script = 1) {
  return {std::move(type), std::move(url), std::move(video), std::move(watermark), script};
}

struct AnswerCase {
  const char* name;
  HttpResponse response;
  std::optional<ContentData> expected;
  std::string errorAfter = "";
  std::string errorBefore = "";  // what the error text holds before the call
};

class ContentDataAnswerTable : public testing::TestWithParam<AnswerCase> {};

TEST_P(ContentDataAnswerTable, GivesTheRecordOrTheReason) {
  const AnswerCase& c = GetParam();
  std::string errorText = c.errorBefore;
  EXPECT_EQ(ReadContentDataAnswer(c.response, &errorText), c.expected);
  EXPECT_EQ(errorText, c.errorAfter);
  if (!c.response.success) {
    EXPECT_EQ(ReadContentDataAnswer(c.response, nullptr), std::nullopt);
  }
}

const std::string kData = ContentDataMember();
const std::string kType = ContentTypeMember();
const std::string kUrl = ContentUrlMember();
const std::string kVideo = ContentVideoUrlMember();
const std::string kMark = WatermarkTextMember();
const std::string kScript = PageScriptIdMember();

INSTANTIATE_TEST_SUITE_P(
    Answers, ContentDataAnswerTable,
    testing::Values(
        AnswerCase{
            "InDataMember",
            Ok({{kData, {{kType, "pdf"}, {kUrl, "u"}, {kVideo, "v"}, {kScript, 7}}}, {kMark, "w"}}),
            Record("pdf", "u", "v", "w", 7)},
        AnswerCase{"AtTopLevel", Ok({{kType, "pdf"}, {kUrl, "u"}, {kMark, "w"}}),
                   Record("pdf", "u", "", "w")},
        AnswerCase{"DataNotAnObjectReadsTopLevel", Ok({{kData, "x"}, {kUrl, "u"}}),
                   Record("video", "u")},
        AnswerCase{"WatermarkOnlyAtTopLevel", Ok({{kData, {{kUrl, "u"}, {kMark, "inner"}}}}),
                   Record("video", "u")},
        AnswerCase{"MissingAndNullKeepDefaults",
                   Ok({{kUrl, "u"}, {kVideo, nullptr}, {kMark, nullptr}, {kScript, nullptr}}),
                   Record("video", "u")},
        AnswerCase{"ScriptFloatTruncated", Ok({{kScript, 3.9}}), Record("video", "", "", "", 3)},
        AnswerCase{"ScriptTrue", Ok({{kScript, true}}), Record("video", "", "", "", 1)},
        AnswerCase{"ScriptFalse", Ok({{kScript, false}}), Record("video", "", "", "", 0)},
        AnswerCase{"ScriptWraps", Ok({{kScript, 4294967298LL}}), Record("video", "", "", "", 2)},
        AnswerCase{"ScriptText", Ok({{kScript, "7"}}), std::nullopt, ""},
        AnswerCase{"NumericUrl", Ok({{kUrl, 5}}), std::nullopt, ""},
        AnswerCase{"ObjectWatermark", Ok({{kMark, json::object()}}), std::nullopt, ""},
        AnswerCase{"NotJsonKeepsEarlierText", Answer(200, "<html>"), std::nullopt, "was", "was"},
        AnswerCase{"ArrayIsNoAnswer", Ok(json::array({{{kUrl, "u"}}})), std::nullopt, ""},
        AnswerCase{"Message", Answer(404, R"({"message":"Link expired"})", "t"), std::nullopt,
                   "Link expired"},
        AnswerCase{"HtmlWithoutTransportError", Answer(500, "<html>"), std::nullopt, ""},
        AnswerCase{"TransportError", Answer(0, "", "SSL Pin validation FAILED for a.test"),
                   std::nullopt, "SSL Pin validation FAILED for a.test"},
        AnswerCase{"MessageNotText", Answer(403, R"({"message":4})", "t"), std::nullopt, "t"},
        AnswerCase{"EmptyMessage", Answer(403, R"({"message":""})", "t"), std::nullopt, "t"},
        AnswerCase{"MessageReplacesEarlierText", Answer(403, R"({"message":"m"})"), std::nullopt,
                   "m", "was"},
        AnswerCase{"TransportErrorOnlyWhenEmpty", Answer(0, "", "t"), std::nullopt, "was", "was"}),
    [](const testing::TestParamInfo<AnswerCase>& row) { return row.param.name; });

}  // namespace
