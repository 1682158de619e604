// Which page addresses the stand-in hands to the system: a page chooses them, so only a
// well-formed scheme that no browser loads itself, never a path or a web address.

#include "tools/runtime-standin/external_uri.h"

#include <gtest/gtest.h>

namespace {

using standin::ExternalSchemeOf;

TEST(ExternalUriTest, PlayerLinksAndOtherAppSchemesAreHandedOver) {
  EXPECT_EQ(ExternalSchemeOf(L"quorvel:AAAA:BBBB"), L"quorvel");
  EXPECT_EQ(ExternalSchemeOf(L"QUORVEL:abc"), L"quorvel");
  EXPECT_EQ(ExternalSchemeOf(L"ms-settings:display"), L"ms-settings");
  EXPECT_EQ(ExternalSchemeOf(L"web+demo:x"), L"web+demo");
}

TEST(ExternalUriTest, WebAddressesPathsAndOddTextAreNot) {
  for (const wchar_t* refused :
       {L"https://example.com/", L"HTTP://example.com/", L"file:///C:/windows/system32/cmd.exe",
        L"javascript:alert(1)", L"about:blank", L"data:text/html,x", L"C:\\windows\\notepad.exe",
        L"c:/windows/notepad.exe", L"\\\\server\\share\\x.exe", L"notepad.exe", L"", L":nothing",
        L"1abc:x", L"qu orvel:x", L"quorvel:line\nbreak", L"qu%72orvel:x"}) {
    EXPECT_FALSE(ExternalSchemeOf(refused).has_value()) << refused;
  }
  EXPECT_FALSE(ExternalSchemeOf(L"quorvel:" + std::wstring(40000, L'A')).has_value());
}

}  // namespace
