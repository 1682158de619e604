// The HTTP client against the platform simulator, over Wine's real WinHTTP and TLS.
#include "net/http_client.h"

#include <gtest/gtest.h>

#include "net/pin_store.h"
#include "tests/net/simulator_access.h"

namespace {

using nlohmann::json;

// A pin no certificate of the test chains carries.
constexpr char kWrongPin[] = "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";

std::vector<std::string> Methods(const SimulatorAccess& sim) {
  std::vector<std::string> methods;
  for (const json& request : sim.Requests()) {
    methods.push_back(request["method"].get<std::string>() + " " +
                      request["path"].get<std::string>());
  }
  return methods;
}

class HttpClientTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const SimulatorAccess* sim : {&trusted_, &untrusted_, &plain_}) {
      if (!sim->available()) GTEST_SKIP() << "the driver started no simulators";
      sim->SetAnswers(json::object());
      sim->ClearLog();
    }
    PinStore::Instance().Replace({});
  }
  void TearDown() override { PinStore::Instance().Replace({}); }

  void PinLocalhost(std::string pin) {
    PinStore::Instance().Replace({{u"localhost", {std::move(pin)}}});
  }

  SimulatorAccess trusted_{"TRUSTED"};
  SimulatorAccess untrusted_{"UNTRUSTED"};
  SimulatorAccess plain_{"PLAIN"};
  std::string leafPin_ = TestEnvironment("QUORVEL_PIN_TRUSTED_LEAF");
  std::string intermediatePin_ = TestEnvironment("QUORVEL_PIN_TRUSTED_INTERMEDIATE");
  std::string untrustedLeafPin_ = TestEnvironment("QUORVEL_PIN_UNTRUSTED_LEAF");
};

TEST_F(HttpClientTest, PinnedHostPassesWithTheLeafOrOnlyTheIntermediatePin) {
  for (const std::string& pin : {leafPin_, intermediatePin_}) {
    trusted_.ClearLog();
    PinLocalhost(pin);
    HttpClient client;
    const HttpResponse response = client.Get(trusted_.Url(u"/api/player/version"));
    EXPECT_EQ(response.statusCode, 200u) << response.error;
    EXPECT_TRUE(response.success);
    EXPECT_EQ(response.error, "");
    EXPECT_NE(response.body.find("\"version\""), std::string::npos);
    EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"HEAD /", "GET /api/player/version"}));
  }
}

TEST_F(HttpClientTest, WrongPinFailsThePreflightAndTheBodyNeverLeaves) {
  PinLocalhost(kWrongPin);
  HttpClient client;
  const HttpResponse response =
      client.Put(trusted_.Url(u"/api/player/content"), "token=secret", u"text/plain");
  EXPECT_EQ(response.error,
            "Pre-flight SSL Pin validation FAILED for localhost. MITM Attack Prevented!");
  EXPECT_EQ(response.statusCode, 0u);
  EXPECT_FALSE(response.success);
  EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"HEAD /"}));

  // A failed pre-flight is not remembered: the next request tries again.
  client.Get(trusted_.Url(u"/again"));
  EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"HEAD /", "HEAD /"}));
}

TEST_F(HttpClientTest, OnePreflightPerHostButAPinCheckOnEveryResponse) {
  PinLocalhost(leafPin_);
  HttpClient client;
  EXPECT_EQ(client.Get(trusted_.Url(u"/first")).statusCode, 404u);
  EXPECT_EQ(client.Get(trusted_.Url(u"/second")).statusCode, 404u);
  EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"HEAD /", "GET /first", "GET /second"}));

  // The key changes after the pre-flight: the response is refused after receiving.
  trusted_.ClearLog();
  PinLocalhost(kWrongPin);
  const HttpResponse response = client.Get(trusted_.Url(u"/third"));
  EXPECT_EQ(response.error, "SSL Pin validation FAILED for localhost");
  EXPECT_EQ(response.statusCode, 0u);
  EXPECT_EQ(response.body, "");
  EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"GET /third"}));
}

TEST_F(HttpClientTest, PinnedHostWithAnUntrustedChainIsDecidedByItsPins) {
  PinStore::Instance().Replace({{u"localhost", {untrustedLeafPin_}}});
  HttpClient client;
  const HttpResponse response = client.Get(untrusted_.Url(u"/api/player/version"));
  EXPECT_EQ(response.statusCode, 200u) << response.error;
}

TEST_F(HttpClientTest, UnpinnedHostsKeepTheSystemsChainValidation) {
  HttpClient client;
  const HttpResponse trusted = client.Get(trusted_.Url(u"/api/player/version"));
  EXPECT_EQ(trusted.statusCode, 200u) << trusted.error;
  EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"HEAD /", "GET /api/player/version"}));

  // Nobody vouches for this chain: neither pins nor a trusted root. (Another host name
  // than the pinned test's, so that no pooled connection of that test is reused.)
  const HttpResponse untrusted = client.Get(untrusted_.Url(u"/api/player/version", u"127.0.0.1"));
  EXPECT_EQ(untrusted.statusCode, 0u);
  EXPECT_TRUE(untrusted.error.starts_with("WinHttpSendRequest failed: ")) << untrusted.error;
  for (const json& request : untrusted_.Requests()) {
    EXPECT_NE(request["method"], "GET") << "the request must not reach an unauthenticated server";
  }
}

TEST_F(HttpClientTest, ClientWithoutPinCheckMakesNoPreflightAndTrustsOnlyTheSystem) {
  PinLocalhost(kWrongPin);
  HttpClient client;
  client.DisablePinCheck();
  const HttpResponse trusted = client.Get(trusted_.Url(u"/script/1"));
  EXPECT_EQ(trusted.statusCode, 404u) << trusted.error;
  EXPECT_EQ(trusted.error, "");
  EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"GET /script/1"}));

  const HttpResponse untrusted = client.Get(untrusted_.Url(u"/script/1", u"127.0.0.1"));
  EXPECT_TRUE(untrusted.error.starts_with("WinHttpSendRequest failed: ")) << untrusted.error;
}

TEST_F(HttpClientTest, PlainHttpGetsNeitherPreflightNorPinCheck) {
  PinLocalhost(kWrongPin);
  HttpClient client;
  const HttpResponse response = client.Get(plain_.Url(u"/api/player/version"));
  EXPECT_EQ(response.statusCode, 200u) << response.error;
  EXPECT_EQ(Methods(plain_), (std::vector<std::string>{"GET /api/player/version"}));
}

TEST_F(HttpClientTest, StatusAnswersAreNotErrors) {
  PinLocalhost(leafPin_);
  trusted_.SetAnswers({
      {"GET /moved", {{"status", 302}, {"headers", {{"Location", "/elsewhere"}}}}},
      {"GET /missing", {{"status", 404}, {"json", {{"message", "no such lesson"}}}}},
      {"GET /broken", {{"status", 500}, {"body", "<html>oops</html>"}}},
  });
  HttpClient client;
  const HttpResponse moved = client.Get(trusted_.Url(u"/moved"));
  EXPECT_EQ(moved.statusCode, 302u);
  EXPECT_FALSE(moved.success);
  EXPECT_EQ(moved.error, "");

  const HttpResponse missing = client.Get(trusted_.Url(u"/missing"));
  EXPECT_EQ(missing.statusCode, 404u);
  EXPECT_EQ(json::parse(missing.body)["message"], "no such lesson");
  EXPECT_EQ(missing.error, "");

  const HttpResponse broken = client.Get(trusted_.Url(u"/broken"));
  EXPECT_EQ(broken.statusCode, 500u);
  EXPECT_EQ(broken.body, "<html>oops</html>");
  EXPECT_EQ(Methods(trusted_),
            (std::vector<std::string>{"HEAD /", "GET /moved", "GET /missing", "GET /broken"}))
      << "the redirect must not be followed";
}

TEST_F(HttpClientTest, TransportFailuresNameTheirStep) {
  HttpClient client;
  EXPECT_EQ(client.Get(u"not an address").error, "Failed to parse URL");
  // Port 9 on loopback: nothing listens, the connection is refused.
  const HttpResponse refused = client.Get(u"http://127.0.0.1:9/");
  EXPECT_EQ(refused.error, "WinHttpSendRequest failed: 12029");
  EXPECT_EQ(refused.statusCode, 0u);
}

TEST_F(HttpClientTest, HeadersGoSortedByNameWithTheLastValueAndTheIdentityOfTheMachine) {
  PinLocalhost(leafPin_);
  HttpClient client;
  client.SetHeader(u"X-Zeta", u"z");
  client.SetHeader(u"X-Alpha", u"first");
  client.SetHeader(u"X-Alpha", u"second");
  client.Get(trusted_.Url(u"/get"));
  client.Put(trusted_.Url(u"/put"), "a=1&b=2", u"application/x-www-form-urlencoded");
  client.Put(trusted_.Url(u"/empty"), "", u"");

  const std::vector<json> requests = trusted_.Requests();
  ASSERT_EQ(requests.size(), 4u);
  const json& get = requests[1];
  EXPECT_EQ(HeaderOf(get, "X-Alpha"), "second");
  EXPECT_EQ(HeaderOf(get, "Content-Type"), "");
  std::vector<std::string> names;
  for (const json& header : get["headers"]) names.push_back(header[0]);
  const auto alpha = std::find(names.begin(), names.end(), "X-Alpha");
  const auto zeta = std::find(names.begin(), names.end(), "X-Zeta");
  EXPECT_LT(alpha, zeta);
  EXPECT_EQ(HeaderOf(get, "User-Agent"), "QuorvelPlayer/4.11.0");

  // localhost is one of the platform's hosts: both machine identifiers go along.
  const std::string device = HeaderOf(get, "X-Quorvel-Device");
  const std::string machine = HeaderOf(get, "X-Quorvel-Machine");
  EXPECT_EQ(device.size(), 64u);
  EXPECT_EQ(machine.size(), 64u);
  EXPECT_NE(device, machine);

  EXPECT_EQ(requests[2]["body"], "a=1&b=2");
  EXPECT_EQ(HeaderOf(requests[2], "Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[3]["body"], "");
  EXPECT_EQ(HeaderOf(requests[3], "Content-Length"), "0");
}

TEST_F(HttpClientTest, SharedClientIsOneObject) {
  EXPECT_EQ(&HttpClient::Shared(), &HttpClient::Shared());
}

}  // namespace
