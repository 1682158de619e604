// Pins end to end: computed from real certificates, loaded from the simulated
// platform, and checked by the browser's own HEAD exchange.
#include <windows.h>
// windows.h must come first.
#include <gtest/gtest.h>
#include <wincrypt.h>

#include <fstream>
#include <sstream>

#include "link/platform_api.h"
#include "net/http_client.h"
#include "net/pin_loading.h"
#include "net/pin_store.h"
#include "net/server_pin.h"
#include "tests/net/simulator_access.h"

namespace {

using nlohmann::json;

constexpr char kPinA[] = "QUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUE=";
constexpr char kPinB[] = "QkJCQkJCQkJCQkJCQkJCQkJCQkJCQkJCQkJCQkJCQkI=";

PCCERT_CONTEXT LoadPem(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  const std::string pem = text.str();
  DWORD size = 0;
  CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                       nullptr, &size, nullptr, nullptr);
  std::vector<BYTE> der(size);
  CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                       der.data(), &size, nullptr, nullptr);
  return CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), size);
}

TEST(ComputePin, AgreesWithOpenSslForLeafAndIntermediate) {
  const std::string dir = TestEnvironment("QUORVEL_TRUSTED_CHAIN_DIR");
  if (dir.empty()) GTEST_SKIP() << "no chain from the driver";
  for (const auto& [file, pin] :
       {std::pair{"leaf.pem", TestEnvironment("QUORVEL_PIN_TRUSTED_LEAF")},
        std::pair{"intermediate.pem", TestEnvironment("QUORVEL_PIN_TRUSTED_INTERMEDIATE")}}) {
    PCCERT_CONTEXT certificate = LoadPem(dir + "\\" + file);
    ASSERT_NE(certificate, nullptr) << file;
    EXPECT_EQ(ComputePin(certificate), pin) << file;
    CertFreeCertificateContext(certificate);
  }
}

class PlatformPinsTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!platform_.available()) GTEST_SKIP() << "no platform simulator";
    platform_.SetAnswers(json::object());
    platform_.ClearLog();
    PinStore::Instance().Replace(DefaultPins());
  }
  void TearDown() override { PinStore::Instance().Replace({}); }

  void ServePins(json answer) { platform_.SetAnswers({{"GET /api/player/pins", answer}}); }

  SimulatorAccess platform_{"PLATFORM"};
};

TEST_F(PlatformPinsTest, ServedEntriesFollowTheDefaults) {
  ServePins({{"json",
              json::array({
                  {{"scope", "cdn.example.org"}, {"pins", {std::string("sha256/") + kPinA, kPinB}}},
                  {{"scope", "127.0.0.1"}, {"pins", {kPinB}}},  // never beats the default
                  {{"scope", "empty.example.org"}, {"pins", json::array()}},
                  "not an object",
                  {{"scope", "short.example.org"}, {"pins", {"sha256/", 7, nullptr}}},
                  {{"pins", {kPinA}}},
              })}});
  ASSERT_TRUE(LoadDynamicPins());

  const std::optional<PinEntry> cdn = PinStore::Instance().Find(u"video.cdn.example.org");
  ASSERT_TRUE(cdn);
  EXPECT_EQ(cdn->pins, (std::vector<std::string>{kPinA, kPinB}));
  EXPECT_EQ(PinStore::Instance().Find(u"127.0.0.1")->pins, DefaultPins()[0].pins);
  EXPECT_FALSE(PinStore::Instance().Find(u"empty.example.org"));
  EXPECT_EQ(PinStore::Instance().Find(u"short.example.org")->pins,
            (std::vector<std::string>{"sha256/"}));

  const std::vector<json> requests = platform_.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back()["path"], "/api/player/pins");
  EXPECT_EQ(HeaderOf(requests.back(), "X-Secret"), "demo-pin-list-secret");
}

TEST_F(PlatformPinsTest, EveryUnusableListLeavesTheDefaultsInForce) {
  for (const json& answer : {
           json{{"status", 500}, {"json", json::array()}},
           json{{"json", {{"scope", "a.example.org"}, {"pins", {kPinA}}}}},
           json{{"body", "[{\"scope\": "}},
           json{{"json", json::array({{{"scope", 42}, {"pins", {kPinA}}}})}},
       }) {
    ServePins(answer);
    EXPECT_FALSE(LoadDynamicPins()) << answer.dump();
    EXPECT_FALSE(PinStore::Instance().Find(u"a.example.org"));
    EXPECT_EQ(PinStore::Instance().Find(u"127.0.0.1")->pins, DefaultPins()[0].pins);
  }
}

TEST_F(PlatformPinsTest, TheSecretGoesWithThePinListOnly) {
  ServePins({{"json", json::array()}});
  ASSERT_TRUE(LoadDynamicPins());
  CheckForUpdate(4.11, u"");
  const std::vector<json> requests = platform_.Requests();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests[requests.size() - 2]["path"], "/api/player/pins");
  EXPECT_EQ(HeaderOf(requests[requests.size() - 2], "X-Secret"), "demo-pin-list-secret");
  EXPECT_EQ(requests.back()["path"], "/api/player/version");
  EXPECT_EQ(HeaderOf(requests.back(), "X-Secret"), "");
}

// The browser's check goes to the host and port the browser's own request uses.
TEST(VerifyBrowserHost, ChecksThePortInUseRemembersOnlyPasses) {
  SimulatorAccess trusted("TRUSTED");
  SimulatorAccess untrusted("UNTRUSTED");
  if (!trusted.available() || !untrusted.available()) GTEST_SKIP() << "no simulators";
  const std::string leafPin = TestEnvironment("QUORVEL_PIN_TRUSTED_LEAF");
  trusted.ClearLog();
  untrusted.ClearLog();

  PinStore::Instance().Replace({{u"localhost", {kPinA}}});
  EXPECT_EQ(VerifyBrowserHost(u"localhost", trusted.port()), BrowserHostCheck::kFails);
  EXPECT_EQ(VerifyBrowserHost(u"localhost", trusted.port()), BrowserHostCheck::kFails);
  EXPECT_TRUE(trusted.Requests().empty()) << "the check leaves only to a proven key";

  PinStore::Instance().Replace({{u"localhost", {leafPin}}});
  trusted.ClearLog();
  EXPECT_EQ(VerifyBrowserHost(u"localhost", trusted.port()), BrowserHostCheck::kPasses);
  EXPECT_EQ(VerifyBrowserHost(u"localhost", trusted.port()), BrowserHostCheck::kPasses);
  const std::vector<json> requests = trusted.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["method"], "HEAD");
  EXPECT_NE(HeaderOf(requests[0], "User-Agent").find("Edg/120.0.0.0"), std::string::npos);

  // A pass on one port vouches for no other: another server answers there.
  EXPECT_EQ(VerifyBrowserHost(u"localhost", untrusted.port()), BrowserHostCheck::kFails);
  EXPECT_TRUE(untrusted.Requests().empty());

  // Nothing listens on port 9: no check completes, and nothing is remembered.
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_EQ(VerifyBrowserHost(u"localhost", 9), BrowserHostCheck::kUnavailable);
  }

  // Unpinned hosts pass without a connection.
  PinStore::Instance().Replace({});
  EXPECT_EQ(VerifyBrowserHost(u"unpinned.invalid", 443), BrowserHostCheck::kPasses);
}

// Two self-signed roots made by the driver, both named like a scanning product's; only
// the first is installed on the machine, as the product's own installation does.
TEST(IsRecognisedInterceptor, AProductsNameIsNotEnoughWithoutATrustedRoot) {
  for (const auto& [variable, installed] : {std::pair{"QUORVEL_PRODUCT_ROOT_INSTALLED", true},
                                            std::pair{"QUORVEL_PRODUCT_ROOT_FORGED", false}}) {
    SCOPED_TRACE(variable);
    PCCERT_CONTEXT certificate = LoadPem(TestEnvironment(variable));
    ASSERT_NE(certificate, nullptr);
    CERT_CHAIN_PARA parameters = {};
    parameters.cbSize = sizeof(parameters);
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    ASSERT_TRUE(CertGetCertificateChain(nullptr, certificate, nullptr, nullptr, &parameters, 0,
                                        nullptr, &chain));
    const PresentedChain presented = DescribeChain(chain);
    EXPECT_EQ(presented.endsAtTrustedRoot, installed);
    EXPECT_EQ(presented.issuerNames, std::vector<std::u16string>{u"Avast! Web/Mail Shield Root"});
    EXPECT_EQ(ExemptingInterceptorRule(presented).has_value(), installed);
    EXPECT_FALSE(IsRecognisedInterceptor(chain)) << "the product itself does not run here";
    CertFreeCertificateChain(chain);
    CertFreeCertificateContext(certificate);
  }
}

}  // namespace
