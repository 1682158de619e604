#include "diag/diagnostic_code.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "common/base64.h"
#include "common/device_identity.h"
#include "common/text.h"

namespace {

constexpr std::uint64_t kTs = 1700000000;

// The record inside a code, unmasked; empty optional when the code is not Base64.
std::optional<std::string> Unmask(std::string_view code) {
  const std::optional<std::string> masked = Base64DecodeStrict(code);
  if (!masked) return std::nullopt;
  return ApplyDiagnosticMask(*masked);
}

TEST(BuildErrorDiagnosticCode, MasksAndEncodesTheExactRecord) {
  EXPECT_EQ(Unmask(BuildErrorDiagnosticCode("split_failed_parts_2", kTs, u"dev")),
            "ERRDIAG|v1|ts=1700000000|mk=dev|reason=split_failed_parts_2|END");
  EXPECT_EQ(Unmask(BuildErrorDiagnosticCode("", kTs, u"dev")),
            "ERRDIAG|v1|ts=1700000000|mk=dev|reason=|END");
  EXPECT_EQ(Unmask(BuildErrorDiagnosticCode("r", 0, u"\u00e9")),
            "ERRDIAG|v1|ts=0|mk=\xC3\xA9|reason=r|END");
}

TEST(BuildErrorDiagnosticCode, MaskRepeatsEverySixteenBytes) {
  const std::string record = "ERRDIAG|v1|ts=1700000000|mk=dev|reason=x|END";
  const std::optional<std::string> masked =
      Base64DecodeStrict(BuildErrorDiagnosticCode("x", kTs, u"dev"));
  ASSERT_TRUE(masked);
  ASSERT_EQ(masked->size(), record.size());
  for (std::size_t i = 0; i < record.size(); ++i) {
    EXPECT_EQ((*masked)[i], static_cast<char>(record[i] ^ kDiagnosticMaskKey[i % 16])) << i;
  }
  EXPECT_EQ((*masked)[16], static_cast<char>(record[16] ^ 'K'));
  EXPECT_EQ(ApplyDiagnosticMask(*masked), record);
}

TEST(BuildErrorDiagnosticCode, CodeLengthFollowsRecordLength) {
  // The record is 40 bytes plus the device id and the reason.
  const std::string code60 = BuildErrorDiagnosticCode(std::string(17, 'r'), kTs, u"dev");
  EXPECT_EQ(code60.size(), 80u);
  EXPECT_EQ(code60.find('='), std::string::npos);

  const std::string code61 = BuildErrorDiagnosticCode(std::string(18, 'r'), kTs, u"dev");
  EXPECT_EQ(code61.size(), 84u);
  EXPECT_TRUE(code61.ends_with("=="));
  EXPECT_EQ(code61.find('='), 82u);
}

TEST(BuildErrorDiagnosticCode, IsDeterministic) {
  EXPECT_EQ(BuildErrorDiagnosticCode("reason", kTs, u"dev"),
            BuildErrorDiagnosticCode("reason", kTs, u"dev"));
}

TEST(BuildErrorDiagnosticCode, OneArgumentFormReadsClockAndDevice) {
  const auto Now = [] {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                          std::chrono::system_clock::now().time_since_epoch())
                                          .count());
  };
  const std::uint64_t before = Now();
  const std::string code = BuildErrorDiagnosticCode("why");
  const std::uint64_t after = Now();

  const std::optional<ErrorDiagnostic> read = ReadErrorDiagnosticCode(code);
  ASSERT_TRUE(read);
  EXPECT_GE(read->unixSeconds, before);
  EXPECT_LE(read->unixSeconds, after);
  EXPECT_EQ(read->deviceId, Utf16ToUtf8(DeviceIdentifier()));
  EXPECT_EQ(read->reason, "why");
}

TEST(ReadErrorDiagnosticCode, RoundTripsFields) {
  struct Case {
    std::string reason;
    std::uint64_t ts;
    std::u16string device;
  };
  for (const Case& c :
       {Case{"split_failed_parts_2", kTs, u"dev"}, Case{"", 0, u""}, Case{"a|b|END", 12, u"m-1"},
        Case{"exception_MAC verification failed \xE2\x80\x94 data may be tampered",
             9999999999999999999u, u"\u0645"},
        Case{"r", 18446744073709551615u, u"d"}}) {
    SCOPED_TRACE(c.reason);
    const std::optional<ErrorDiagnostic> read =
        ReadErrorDiagnosticCode(BuildErrorDiagnosticCode(c.reason, c.ts, c.device));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->unixSeconds, c.ts);
    EXPECT_EQ(read->deviceId, Utf16ToUtf8(c.device));
    EXPECT_EQ(read->reason, c.reason);
  }
}

TEST(ReadErrorDiagnosticCode, RejectsWhatIsNotAnErrorCode) {
  const std::string record = "ERRDIAG|v1|ts=1700000000|mk=dev|reason=x|END";
  for (const std::string& code :
       {std::string("!!!not base64"), std::string(""),
        Base64Encode(ApplyDiagnosticMask("hello, support")),
        Base64Encode(record),  // not masked
        Base64Encode(ApplyDiagnosticMask("ERRDIAG|v1|ts=17x|mk=dev|reason=x|END")),
        Base64Encode(ApplyDiagnosticMask("ERRDIAG|v1|ts=|mk=dev|reason=x|END")),
        Base64Encode(ApplyDiagnosticMask("ERRDIAG|v1|ts=18446744073709551616|mk=d|reason=x|END")),
        Base64Encode(ApplyDiagnosticMask("ERRDIAG|v1|ts=+1|mk=d|reason=x|END")),
        Base64Encode(ApplyDiagnosticMask("ERRDIAG|v1|ts=1|reason=x|END")),
        Base64Encode(ApplyDiagnosticMask("ERRDIAG|v1|ts=1|mk=dev|END"))}) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(ReadErrorDiagnosticCode(code));
  }
}

TEST(FormatUtcTime, FormatsCivilUtcTime) {
  EXPECT_EQ(FormatUtcTime(0), "1970-01-01T00:00:00Z");
  EXPECT_EQ(FormatUtcTime(1700000000), "2023-11-14T22:13:20Z");
  EXPECT_EQ(FormatUtcTime(951782400), "2000-02-29T00:00:00Z");
  EXPECT_EQ(FormatUtcTime(951868799), "2000-02-29T23:59:59Z");
  EXPECT_EQ(FormatUtcTime(4107542400), "2100-03-01T00:00:00Z");  // 2100 is no leap year
}

}  // namespace
