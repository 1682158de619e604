#include "app/installer_check.h"

#include <windows.h>
// windows.h must come first.
#include <objbase.h>
#include <sddl.h>
#include <softpub.h>
#include <wintrust.h>

#include <memory>
#include <vector>

namespace {

struct LocalDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};

// "S-1-5-21-…" of the user this process runs as; empty when it cannot be read.
std::wstring CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  wchar_t* text = nullptr;
  if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
    ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text);
  }
  CloseHandle(token);
  const std::unique_ptr<wchar_t, LocalDeleter> owned(text);
  return text != nullptr ? std::wstring(text) : std::wstring();
}

std::wstring UniqueName() {
  GUID guid = {};
  wchar_t text[40] = {};
  if (FAILED(CoCreateGuid(&guid)) || StringFromGUID2(guid, text, 40) == 0) return {};
  std::wstring name(text);
  return name.substr(1, name.size() - 2);  // without the braces
}

// The organisation of the certificate that signed the file WinVerifyTrust just checked.
std::wstring SignerOrganisation(HANDLE stateData) {
  CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
  CRYPT_PROVIDER_SGNR* signer =
      provider != nullptr ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
  CRYPT_PROVIDER_CERT* certificate =
      signer != nullptr ? WTHelperGetProvCertFromChain(signer, 0) : nullptr;
  if (certificate == nullptr || certificate->pCert == nullptr) return {};
  void* organisation = const_cast<char*>(szOID_ORGANIZATION_NAME);
  wchar_t name[256] = {};
  const DWORD length = CertGetNameStringW(certificate->pCert, CERT_NAME_ATTR_TYPE, 0, organisation,
                                          name, static_cast<DWORD>(std::size(name)));
  return length > 1 ? std::wstring(name, length - 1) : std::wstring();
}

}  // namespace

std::wstring CreatePrivateDownloadFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring name = UniqueName();
  const std::wstring user = CurrentUserSid();
  if (length == 0 || length > MAX_PATH || name.empty() || user.empty()) return {};

  // Protected from the parent's entries; what is made inside inherits these two.
  const std::wstring access = L"D:P(A;OICI;FA;;;" + user + L")(A;OICI;FA;;;SY)";
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(access.c_str(), SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return {};
  }
  const std::unique_ptr<void, LocalDeleter> ownedDescriptor(descriptor);
  SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
  // A new folder only: one that exists already may hold someone else's file. A missing
  // temporary folder fails here as well.
  const std::wstring folder = std::wstring(temp, length) + L"QuorvelRuntimeSetup-" + name;
  if (!CreateDirectoryW(folder.c_str(), &attributes)) return {};
  return folder;
}

bool IsSignedBy(const std::wstring& path, const std::wstring& publisher) {
  WINTRUST_FILE_INFO file = {};
  file.cbStruct = sizeof(file);
  file.pcwszFilePath = path.c_str();
  WINTRUST_DATA trust = {};
  trust.cbStruct = sizeof(trust);
  trust.dwUIChoice = WTD_UI_NONE;
  // The installer is checked offline: a revocation server that cannot be reached would
  // otherwise refuse every installer.
  trust.fdwRevocationChecks = WTD_REVOKE_NONE;
  trust.dwUnionChoice = WTD_CHOICE_FILE;
  trust.pFile = &file;
  trust.dwStateAction = WTD_STATEACTION_VERIFY;
  trust.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  const LONG verdict = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);
  const bool trusted = verdict == ERROR_SUCCESS && !publisher.empty() &&
                       SignerOrganisation(trust.hWVTStateData) == publisher;
  trust.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);
  return trusted;
}
