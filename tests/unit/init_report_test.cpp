#include "webview/init_report.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "webview/browser_identity.h"

namespace {

TEST(InitReport, SystemErrorsBecomeFailureCodes) {
  EXPECT_EQ(FromSystemError(5), static_cast<HResult>(0x80070005));  // access denied
  EXPECT_EQ(FromSystemError(0x12345), static_cast<HResult>(0x80072345));
  EXPECT_EQ(FromSystemError(0), hresult::kFail);
  EXPECT_EQ(AsFailure(0), hresult::kFail);
  EXPECT_EQ(AsFailure(1), hresult::kFail);
  EXPECT_EQ(AsFailure(hresult::kAbort), hresult::kAbort);
  EXPECT_EQ(FormatHresult(hresult::kInvalidArg), u"0x80070057");
  EXPECT_EQ(FormatHresult(0x1F), u"0x0000001F");
}

TEST(InitReport, AttemptFoldersStartAtTheBaseThenRecover) {
  const std::u16string base = BaseUserDataFolder(u"C:\\Data\\Quorvel\\WebView2Data", false);
  EXPECT_EQ(base, u"C:\\Data\\Quorvel\\WebView2Data_Evergreen_Env5");
  EXPECT_EQ(BaseUserDataFolder(u"D", true), u"D_Fixed_Env5");
  const std::u16string unique = UniqueAttemptText(4242, 987654321012ull);
  EXPECT_EQ(unique, u"4242_987654321012");
  EXPECT_EQ(AttemptFolder(base, unique, 0), base);
  EXPECT_EQ(AttemptFolder(base, unique, 2), base + u"_Recovery_4242_987654321012_2");
}

TEST(InitReport, StatusTextsKeepTheFirstFailureAndTheLast) {
  EXPECT_EQ(SuccessStatusText(u"Fixed", u"120.0.2210.91", u"C:\\U_Fixed_Env5"),
            u"WebView2 initialized with Fixed 120.0.2210.91; userData=C:\\U_Fixed_Env5");
  EXPECT_EQ(SuccessStatusText(u"Evergreen", u"", u"U"),
            u"WebView2 initialized with Evergreen; userData=U");

  InitFailures failures;
  EXPECT_FALSE(failures.any());
  EXPECT_EQ(failures.reported(), hresult::kFail);
  EXPECT_EQ(failures.StatusText(u"Evergreen", u""),
            u"WebView2 initialization failed. First=0x80004005 at unknown stage; "
            u"last=0x80004005 at unknown stage; runtime=Evergreen; lastUserData=");

  failures.Record(FromSystemError(5), u"UserDataFolderWriteTest", u"A");
  failures.Record(0, u"CreateControllerCallback", u"B");  // a success code still failed
  failures.Record(hresult::kAbort, u"ApplicationQuitDuringInitialization", u"C");
  EXPECT_EQ(failures.reported(), static_cast<HResult>(0x80070005));
  EXPECT_EQ(failures.StatusText(u"Fixed", u"1.2"),
            u"WebView2 initialization failed. First=0x80070005 at UserDataFolderWriteTest; "
            u"last=0x80004004 at ApplicationQuitDuringInitialization; runtime=Fixed 1.2; "
            u"lastUserData=C");
}

TEST(BrowserIdentity, OnlyPlatformHostsCarryTheIdentifiers) {
  struct Case {
    std::u16string_view address;
    bool identified;
  };
  // The look-alikes put a platform host where a search through the text finds it.
  constexpr Case kCases[] = {
      {u"https://127.0.0.1:8443/lesson", true},
      {u"HTTPS://LOCALHOST:8443/", true},
      {u"https://quorvel.test/", true},
      {u"https://app.quorvel.test/home", true},
      {u"http://127.0.0.1:8443/", false},  // never in the clear
      {u"https://www.youtube.com/embed/x", false},
      {u"https://quorvel.test.evil.example/", false},
      {u"https://localhost.evil.example/", false},
      {u"https://evil.example/?u=://127.0.0.1", false},
      {u"https://127.0.0.1@evil.example/", false},
      {u"https://evil.example/.quorvel.test/", false},
      {u"https://evilquorvel.test/", false},
      {u"file://127.0.0.1/share", false},
      {u"ftp://localhost/", false},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(WantsIdentityHeaders(c.address), c.identified) << Utf16ToUtf8(c.address);
  }

  const std::vector<HeaderField> both = BrowserIdentityHeaders(u"d1", u"d2");
  ASSERT_EQ(both.size(), 5u);
  EXPECT_EQ(both[0], (HeaderField{u"X-Quorvel-Client", u"desktop-player-webview"}));
  EXPECT_EQ(both[1], (HeaderField{u"X-Device-Id", u"d1"}));
  EXPECT_EQ(both[2], (HeaderField{u"X-Quorvel-Device", u"d1"}));
  EXPECT_EQ(both[3], (HeaderField{u"X-Device-Fingerprint", u"d2"}));
  EXPECT_EQ(both[4], (HeaderField{u"X-Quorvel-Machine", u"d2"}));
  EXPECT_EQ(BrowserIdentityHeaders(u"", u"d2").size(), 3u);
  EXPECT_EQ(BrowserIdentityHeaders(u"", u"").size(), 1u);
}

}  // namespace
