#include "net/certificate_warm_up.h"

#include <windows.h>
// windows.h must come first.
#include <wincrypt.h>

namespace {

// Opens the trusted roots and builds one chain, from a root to itself: that loads the
// roots and the default chain engine every later chain uses, and asks nothing of the
// network (no revocation check is requested).
DWORD WINAPI WarmUp(void*) {
  const HCERTSTORE roots = CertOpenSystemStoreW(0, L"ROOT");
  if (roots == nullptr) return 0;
  if (PCCERT_CONTEXT root = CertEnumCertificatesInStore(roots, nullptr)) {
    CERT_CHAIN_PARA parameters = {};
    parameters.cbSize = sizeof(parameters);
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (CertGetCertificateChain(nullptr, root, nullptr, nullptr, &parameters, 0, nullptr, &chain)) {
      CertFreeCertificateChain(chain);
    }
    CertFreeCertificateContext(root);
  }
  CertCloseStore(roots, 0);
  return 0;
}

}  // namespace

void StartCertificateWarmUp() {
  const HANDLE thread = CreateThread(nullptr, 0, WarmUp, nullptr, 0, nullptr);
  if (thread != nullptr) CloseHandle(thread);  // it ends by itself; nobody joins it
}
