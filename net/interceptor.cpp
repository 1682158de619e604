// Whether a chain that failed its pins comes from a security product on this machine:
// the chain ends at a root the machine trusts (the product installed it), the issuer
// names a known product, the product's process runs, and its executable is validly
// signed by the product's maker. A forged issuer name alone gets nowhere.
#include <windows.h>
// windows.h must come first.
#include <softpub.h>
#include <tlhelp32.h>
#include <wintrust.h>

#include <memory>

#include "common/text.h"
#include "common/wide_text.h"
#include "net/interceptor_rules.h"
#include "net/server_pin.h"

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::u16string IssuerName(PCCERT_CONTEXT certificate) {
  wchar_t name[512] = {};
  CertGetNameStringW(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, CERT_NAME_ISSUER_FLAG, nullptr,
                     name, static_cast<DWORD>(std::size(name)));
  return FromWide(name);
}

std::u16string SignerName(HANDLE stateData) {
  CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
  if (provider == nullptr) return {};
  CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
  if (signer == nullptr || signer->csCertChain == 0 || signer->pasCertChain == nullptr) return {};
  PCCERT_CONTEXT certificate = signer->pasCertChain[0].pCert;
  if (certificate == nullptr) return {};
  wchar_t name[512] = {};
  CertGetNameStringW(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name,
                     static_cast<DWORD>(std::size(name)));
  return AsciiLower(FromWide(name));
}

bool SignedBy(const std::wstring& path, const std::u16string& signerFragment) {
  WINTRUST_FILE_INFO file = {};
  file.cbStruct = sizeof(file);
  file.pcwszFilePath = path.c_str();
  WINTRUST_DATA trust = {};
  trust.cbStruct = sizeof(trust);
  trust.dwUIChoice = WTD_UI_NONE;
  trust.fdwRevocationChecks = WTD_REVOKE_NONE;
  trust.dwUnionChoice = WTD_CHOICE_FILE;
  trust.pFile = &file;
  trust.dwStateAction = WTD_STATEACTION_VERIFY;
  trust.dwProvFlags = WTD_SAFER_FLAG;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  bool passes = false;
  if (WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust) == ERROR_SUCCESS) {
    passes = SignerName(trust.hWVTStateData).find(signerFragment) != std::u16string::npos;
  }
  trust.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);
  return passes;
}

std::wstring ImagePath(DWORD processId) {
  Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
  return path;
}

bool ProductRuns(const InterceptorRule& rule) {
  Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) {
    snapshot.release();
    return false;
  }
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    const std::u16string exeName = AsciiLower(FromWide(entry.szExeFile));
    for (const std::u16string& processName : rule.processNames) {
      if (exeName != processName) continue;
      const std::wstring path = ImagePath(entry.th32ProcessID);
      if (!path.empty() && SignedBy(path, rule.signerFragment)) return true;
    }
  }
  return false;
}

}  // namespace

PresentedChain DescribeChain(PCCERT_CHAIN_CONTEXT chain) {
  PresentedChain presented;
  // The base policy with no flag ignores nothing: an untrusted or missing root, a bad
  // signature, an expired certificate all fail it.
  CERT_CHAIN_POLICY_PARA policy = {};
  policy.cbSize = sizeof(policy);
  CERT_CHAIN_POLICY_STATUS status = {};
  status.cbSize = sizeof(status);
  presented.endsAtTrustedRoot =
      CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_BASE, chain, &policy, &status) &&
      status.dwError == 0;
  if (chain->cChain > 0) {
    const PCCERT_SIMPLE_CHAIN simple = chain->rgpChain[0];
    for (DWORD i = 0; i < simple->cElement; ++i) {
      presented.issuerNames.push_back(IssuerName(simple->rgpElement[i]->pCertContext));
    }
  }
  return presented;
}

bool IsRecognisedInterceptor(PCCERT_CHAIN_CONTEXT chain) {
  const std::optional<std::size_t> rule = ExemptingInterceptorRule(DescribeChain(chain));
  return rule && ProductRuns(InterceptorRules()[*rule]);
}
