#include "link/version_check.h"

#include <gtest/gtest.h>

#include "common/platform_values.h"
#include "common/text.h"
#include "link/version_answers.h"

namespace {

HttpResponse Ok(std::string body) { return {200, std::move(body), true, {}}; }

TEST(VersionCheckAddress, DomainBaseOrTheCompleteAddress) {
  EXPECT_EQ(VersionCheckAddress(u"learn.example.test/"),
            u"https://learn.example.test" + AsciiToUtf16(VersionPath()));
  EXPECT_EQ(VersionCheckAddress(u""), AsciiToUtf16(VersionAddress()));
  EXPECT_EQ(VersionCheckAddress(u"//"), AsciiToUtf16(VersionAddress()));
}

TEST(RunningVersionNumber, LeadingNumberOrThree) {
  EXPECT_DOUBLE_EQ(RunningVersionNumber(u"4.11.0"), 4.11);
  EXPECT_DOUBLE_EQ(RunningVersionNumber(u" 5beta"), 5.0);
  EXPECT_DOUBLE_EQ(RunningVersionNumber(u"v4"), 3.0);
  EXPECT_DOUBLE_EQ(RunningVersionNumber(u""), 3.0);
  EXPECT_DOUBLE_EQ(RunningVersionNumber(u"1e999"), 3.0);
}

struct AnswerCase {
  std::string body;
  VersionInfo expected;
};

class VersionAnswerTable : public testing::TestWithParam<AnswerCase> {};

TEST_P(VersionAnswerTable, ComparesLeadingNumbersAgainst4_11) {
  const AnswerCase& c = GetParam();
  const double running = RunningVersionNumber(u"4.11.0");
  EXPECT_EQ(ReadVersionAnswer(Ok(c.body), running), c.expected) << c.body;
  HttpResponse failed = Ok(c.body);
  failed.statusCode = 503;
  failed.success = false;
  EXPECT_EQ(ReadVersionAnswer(failed, running), VersionInfo{}) << c.body;
}

const VersionInfo kNone{};
const VersionInfo kOptional{true, false, u""};
const VersionInfo kRequired{true, true, u""};

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionAnswerTable,
    testing::Values(
        AnswerCase{R"({"version":"4.12.0"})", kOptional},
        AnswerCase{R"({"version":"4.11.5"})", kNone}, AnswerCase{R"({"version":"4.9"})", kOptional},
        AnswerCase{R"({"version":5})", kOptional}, AnswerCase{R"({"version":4.11})", kNone},
        AnswerCase{R"({"version":"abc"})", kNone}, AnswerCase{R"({"version":"1e999"})", kNone},
        AnswerCase{R"({"version":null})", kNone}, AnswerCase{R"({"version":[5]})", kNone},
        AnswerCase{R"([{"version":5}])", kNone}, AnswerCase{R"({"v":5})", kNone},
        AnswerCase{"not json", kNone},
        AnswerCase{R"({"version":"4.0","is_required":1,"link":"x"})", kNone}));

INSTANTIATE_TEST_SUITE_P(
    Required, VersionAnswerTable,
    testing::Values(AnswerCase{R"({"version":5,"is_required":1})", kRequired},
                    AnswerCase{R"({"version":5,"is_required":1.5})", kRequired},
                    AnswerCase{R"({"version":5,"is_required":"1"})", kRequired},
                    AnswerCase{R"({"version":5,"is_required":4294967297})", kRequired},
                    AnswerCase{R"({"version":5,"is_required":true})", kOptional},
                    AnswerCase{R"({"version":5,"is_required":"true"})", kOptional},
                    AnswerCase{R"({"version":5,"is_required":"yes"})", kOptional},
                    AnswerCase{R"({"version":5,"is_required":" 1"})", kOptional},
                    AnswerCase{R"({"version":5,"is_required":2})", kOptional},
                    AnswerCase{R"({"version":5,"is_required":0})", kOptional},
                    AnswerCase{R"({"version":5,"is_required":1e300})", kOptional}));

INSTANTIATE_TEST_SUITE_P(Link, VersionAnswerTable,
                         testing::Values(AnswerCase{R"({"version":5,"link":"https://a.test/é"})",
                                                    {true, false, u"https://a.test/é"}},
                                         AnswerCase{R"({"version":5,"link":7})", kOptional}));

// The second check reuses the first answer exactly when the link's domain leads to the
// address already asked, as a browser reads both.
TEST(VersionAnswers, ReusedOnlyForTheSameAddress) {
  VersionAnswers answers;
  const VersionInfo optional{true, false, u"https://get.example.test/q.exe"};
  answers.Remember(u"https://learn.example.test/api/player/version", optional);
  struct Case {
    std::u16string_view domain;
    bool known;
  };
  for (const Case& c :
       {Case{u"learn.example.test", true}, Case{u"learn.example.test//", true},
        Case{u"HTTPS://Learn.Example.Test", true}, Case{u"https://learn.example.test:443", true},
        Case{u"learn.example.test:8443", false}, Case{u"example.test", false},
        Case{u"http://learn.example.test", false}, Case{u"learn.example.test/other", false},
        Case{u"user@learn.example.test", false}, Case{u"", false}}) {
    const std::optional<VersionInfo> known = answers.Known(VersionCheckAddress(c.domain));
    EXPECT_EQ(known.has_value(), c.known) << Utf16ToUtf8(c.domain);
    if (known) {
      EXPECT_EQ(*known, optional);
    }
  }
  // An address no browser would read is never remembered, so it is asked every time.
  answers.Remember(u"https://exa mple.test/v", {});
  EXPECT_FALSE(answers.Known(u"https://exa mple.test/v"));
}

// One run never asks the learner twice about the same update; another one is offered.
TEST(VersionAnswers, EachUpdateOfferedOnce) {
  VersionAnswers answers;
  const VersionInfo none;
  const VersionInfo optional{true, false, u""};
  const VersionInfo required{true, true, u""};
  const VersionInfo elsewhere{true, false, u"https://get.example.test/q.exe"};
  struct Step {
    const VersionInfo& answer;
    bool offered;
  };
  for (const Step& step :
       {Step{none, false}, Step{optional, true}, Step{optional, false}, Step{required, true},
        Step{elsewhere, true}, Step{elsewhere, false}, Step{none, false}}) {
    EXPECT_EQ(answers.OfferOnce(step.answer), step.offered)
        << step.answer.updateAvailable << step.answer.isRequired;
  }
}

}  // namespace
