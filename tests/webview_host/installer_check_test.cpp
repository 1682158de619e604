// The checks a downloaded runtime installer must pass before it is started: its own
// private folder, and the publisher's Authenticode signature.
#include "app/installer_check.h"

#include <windows.h>
// windows.h must come first.
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

#include "common/windows_paths.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The folder's access rules in SDDL, protected flag and entries only.
std::wstring AccessRules(const std::wstring& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL dacl = nullptr;
  if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return L"unreadable";
  }
  wchar_t* text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                       DACL_SECURITY_INFORMATION, &text, nullptr);
  std::wstring rules = text != nullptr ? text : L"";
  LocalFree(text);
  LocalFree(descriptor);
  return rules;
}

TEST(InstallerCheck, EachDownloadGetsANewFolderOnlyItsUserCanUse) {
  const std::wstring first = CreatePrivateDownloadFolder();
  const std::wstring second = CreatePrivateDownloadFolder();
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  EXPECT_EQ(first.rfind(temp, 0), 0u) << Narrow(first);
  // Nothing from the temporary folder's own entries: the user and the system only.
  const std::wstring rules = AccessRules(first);
  size_t entries = 0;
  for (size_t at = rules.find(L"(A;"); at != std::wstring::npos; at = rules.find(L"(A;", at + 1)) {
    ++entries;
  }
  EXPECT_EQ(entries, 2u) << Narrow(rules);
  EXPECT_NE(rules.find(L";;;SY)"), std::wstring::npos) << Narrow(rules);
  EXPECT_NE(rules.find(L";;;S-1-5-"), std::wstring::npos) << Narrow(rules);
  RemoveDirectoryW(first.c_str());
  RemoveDirectoryW(second.c_str());
}

TEST(InstallerCheck, NoFolderWhenTheTemporaryFolderIsMissing) {
  wchar_t saved[MAX_PATH + 1] = {};
  GetEnvironmentVariableW(L"TMP", saved, MAX_PATH + 1);
  SetEnvironmentVariableW(L"TMP", L"C:\\quorvel-no-such-folder");
  const std::wstring folder = CreatePrivateDownloadFolder();
  SetEnvironmentVariableW(L"TMP", saved[0] != 0 ? saved : nullptr);
  EXPECT_EQ(folder, L"") << "made " << Narrow(folder);
  EXPECT_FALSE(IsExistingDirectory(L"C:\\quorvel-no-such-folder"));
}

TEST(InstallerCheck, OnlyTheNamedPublishersIntactSignaturePasses) {
  // Wine checks the signature and the file's digest but not whether the root is trusted;
  // Windows also refuses a chain to an unknown root (WinVerifyTrust's own policy).
  const std::wstring folder = ExecutableFolder() + L"\\signed\\";
  const struct {
    const wchar_t* file;
    bool accepted;
  } cases[] = {
      {L"signed-by-publisher.dll", true},    {L"signed-by-someone-else.dll", false},
      {L"changed-after-signing.dll", false}, {L"unsigned.dll", false},
      {L"no-such-file.dll", false},
  };
  for (const auto& file : cases) {
    SCOPED_TRACE(Narrow(file.file));
    EXPECT_EQ(IsSignedBy(folder + file.file, L"Quorvel Test Publisher"), file.accepted);
  }
  EXPECT_FALSE(IsSignedBy(folder + L"signed-by-publisher.dll", L"Quorvel Test"));
  EXPECT_FALSE(IsSignedBy(folder + L"signed-by-publisher.dll", L""));
}

}  // namespace
