#include "net/server_pin.h"

#include <winhttp.h>

#include <memory>
#include <vector>

#include "common/base64.h"
#include "common/crypto.h"
#include "common/platform_values.h"
#include "common/text.h"
#include "diag/diagnostic_window.h"
#include "net/pin_failure.h"
#include "net/pin_store.h"

namespace {

struct CertificateFree {
  void operator()(PCCERT_CONTEXT certificate) const { CertFreeCertificateContext(certificate); }
};
struct ChainFree {
  void operator()(PCCERT_CHAIN_CONTEXT chain) const { CertFreeCertificateChain(chain); }
};
using Certificate = std::unique_ptr<const CERT_CONTEXT, CertificateFree>;
using Chain = std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainFree>;

Certificate ServerCertificate(HINTERNET request) {
  PCCERT_CONTEXT certificate = nullptr;
  DWORD size = sizeof(certificate);
  if (!WinHttpQueryOption(request, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &certificate, &size)) {
    return nullptr;
  }
  return Certificate(certificate);
}

Chain BuildChain(PCCERT_CONTEXT certificate) {
  CERT_CHAIN_PARA parameters = {};
  parameters.cbSize = sizeof(parameters);
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &parameters,
                               0, nullptr, &chain)) {
    return nullptr;
  }
  return Chain(chain);
}

bool CarriesPin(PCCERT_SIMPLE_CHAIN chain, const std::vector<std::string>& pins) {
  for (DWORD i = 0; i < chain->cElement; ++i) {
    const std::optional<std::string> pin = ComputePin(chain->rgpElement[i]->pCertContext);
    if (!pin) continue;
    for (const std::string& expected : pins) {
      if (*pin == expected) return true;
    }
  }
  return false;
}

bool IsPlatformDomain(const std::u16string& host) {
  return Utf16ToUtf8(AsciiLower(host)).ends_with(DiagnosticDomainSuffix());
}

}  // namespace

std::optional<std::string> ComputePin(PCCERT_CONTEXT certificate) {
  CERT_PUBLIC_KEY_INFO* keyInfo = &certificate->pCertInfo->SubjectPublicKeyInfo;
  DWORD size = 0;
  if (!CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, keyInfo, 0, nullptr, nullptr,
                           &size) ||
      size == 0) {
    return std::nullopt;
  }
  std::string encoded(size, '\0');
  if (!CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, keyInfo, 0, nullptr,
                           encoded.data(), &size)) {
    return std::nullopt;
  }
  encoded.resize(size);
  try {
    return Base64Encode(Sha256(encoded));
  } catch (...) {
    return std::nullopt;
  }
}

PinVerdict CheckServerPin(void* request, const std::u16string& host) {
  const std::optional<PinEntry> entry = PinStore::Instance().Find(host);
  if (!entry || entry->pins.empty()) return PinVerdict::kUnpinned;

  const Certificate certificate = ServerCertificate(request);
  if (!certificate) return PinVerdict::kUnreadable;
  const Chain chain = BuildChain(certificate.get());
  if (chain && chain->cChain > 0 &&
      (CarriesPin(chain->rgpChain[0], entry->pins) || IsRecognisedInterceptor(chain.get()))) {
    return PinVerdict::kMatched;
  }
  return PinVerdict::kMismatched;
}

void ReportServerPinFailure(const std::u16string& host) {
  if (IsPlatformDomain(host)) {
    ShowDiagnosticAndExit(kPinFailureCaption, kPinFailureEnglish, kPinFailureArabic,
                          "SSL_" + Utf16ToUtf8(host));
  }
}

bool VerifyServerPin(void* request, const std::u16string& host) {
  const PinVerdict verdict = CheckServerPin(request, host);
  if (verdict == PinVerdict::kMismatched) ReportServerPinFailure(host);
  return verdict == PinVerdict::kUnpinned || verdict == PinVerdict::kMatched;
}
