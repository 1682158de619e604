#include "app/startup_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(MakeInstanceMutexName, OneNamePerModeWhateverTheCase) {
  // Values computed independently of this code.
  EXPECT_EQ(MakeInstanceMutexName(u"Quorvel", true),
            u"Local\\LumoraPlayer.WebView2.3134efd972ea17bb");
  EXPECT_EQ(MakeInstanceMutexName(u"Quorvel", false),
            u"Local\\LumoraPlayer.WebView2.ded8352400930648");
  EXPECT_EQ(MakeInstanceMutexName(u"QUORVEL", true), MakeInstanceMutexName(u"quorvel", true));
}

TEST(SelectLink, FirstArgumentOrRawTextWithThePrefix) {
  SelectedLink link = SelectLink(u"QUORVEL:AAA:BBB:CCC", u"x", u"quorvel");
  EXPECT_EQ(link.link, u"QUORVEL:AAA:BBB:CCC");  // handed on unchanged
  EXPECT_TRUE(link.hasSchemeArgs);

  link = SelectLink(u"lesson.pdf", u"quorvel.exe lesson.pdf", u"quorvel");
  EXPECT_FALSE(link.hasSchemeArgs);

  link = SelectLink(std::nullopt, u"quorvel.exe open quorvel:A:B:C", u"quorvel");
  EXPECT_EQ(link.link, u"quorvel.exe open quorvel:A:B:C");
  EXPECT_TRUE(link.hasSchemeArgs);

  // The raw text is searched case-sensitively.
  link = SelectLink(std::nullopt, u"QUORVEL:A:B:C", u"quorvel");
  EXPECT_EQ(link.link, u"");
  EXPECT_FALSE(link.hasSchemeArgs);

  EXPECT_TRUE(SelectLink(u"open?x=quorvel:A", u"", u"quorvel").hasSchemeArgs);
}

TEST(WindowsMajorVersion, ClassesOfSystems) {
  EXPECT_EQ(WindowsMajorVersion(10, 0, 22631), 11);
  EXPECT_EQ(WindowsMajorVersion(10, 0, 19045), 10);
  EXPECT_EQ(WindowsMajorVersion(6, 3, 9600), 8);
  EXPECT_EQ(WindowsMajorVersion(6, 1, 7601), 7);
  EXPECT_EQ(WindowsMajorVersion(5, 1, 2600), -1);
  EXPECT_EQ(WindowsMajorVersion(0, 0, 0), -1);
}

TEST(ServerRefusalText, OnlyTheServerPrefixIsARefusal) {
  EXPECT_EQ(ServerRefusalText("server:انتهت صلاحية الرابط"), u"انتهت صلاحية الرابط");
  EXPECT_EQ(ServerRefusalText("server:"), u"");
  EXPECT_FALSE(ServerRefusalText("server"));
  EXPECT_FALSE(ServerRefusalText("api_content_data_failed"));
  EXPECT_FALSE(ServerRefusalText("exception_server:x"));
}

TEST(UpdateDownloadAddress, OnlyWebAddressesLeaveTheProgram) {
  EXPECT_EQ(UpdateDownloadAddress(u"https://dl.example.org/q.exe"),
            u"https://dl.example.org/q.exe");
  EXPECT_EQ(UpdateDownloadAddress(u"http://dl.example.org/q.exe"), u"http://dl.example.org/q.exe");
  const std::u16string fallback = DefaultUpdateDownloadAddress();
  EXPECT_TRUE(fallback.starts_with(u"https://"));
  EXPECT_TRUE(fallback.ends_with(u"/desktop/quorvel/quorvel.exe"));
  for (const char16_t* link :
       {u"", u"C:\\Windows\\System32\\calc.exe", u"file:///C:/x.exe", u"ms-settings:",
        u"javascript:alert(1)", u"\\\\host\\share\\x.exe"}) {
    EXPECT_EQ(UpdateDownloadAddress(link), fallback);
  }
}

}  // namespace
