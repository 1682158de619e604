// Makes the driver's test roots trusted in this Wine prefix before any test runs, as an
// administrator's root certificate would be on a real machine.
#include <windows.h>
// windows.h must come first.
#include <gtest/gtest.h>
#include <wincrypt.h>

#include <fstream>
#include <sstream>

#include "tests/net/simulator_access.h"

namespace {

void Trust(const std::string& pemPath) {
  std::ifstream file(pemPath, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  const std::string pem = text.str();
  DWORD size = 0;
  ASSERT_TRUE(CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()),
                                   CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr))
      << pemPath;
  std::vector<BYTE> der(size);
  CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                       der.data(), &size, nullptr, nullptr);
  HCERTSTORE store =
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
  ASSERT_NE(store, nullptr);
  EXPECT_TRUE(CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                               CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
      << pemPath;
  CertCloseStore(store, 0);
}

class TrustedRoots : public testing::Environment {
 public:
  void SetUp() override {
    std::stringstream list(TestEnvironment("QUORVEL_TRUSTED_ROOTS"));
    for (std::string path; std::getline(list, path, ';');) {
      if (!path.empty()) Trust(path);
    }
  }
};

const auto* const registered = testing::AddGlobalTestEnvironment(new TrustedRoots);

}  // namespace
