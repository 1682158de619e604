// The HTTP client against the platform simulator, over Wine's real WinHTTP and TLS.
#include "net/http_client.h"

#include <gtest/gtest.h>

#include "net/pin_store.h"
#include "net/response_body.h"
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
      sim->SetConnections(json::object());
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

TEST_F(HttpClientTest, WrongPinStopsEvenThePreflightBeforeItsFirstByte) {
  trusted_.SetConnections({{"label", "wrong pin"}});
  PinLocalhost(kWrongPin);
  HttpClient client;
  const HttpResponse response =
      client.Put(trusted_.Url(u"/api/player/content"), "token=secret", u"text/plain");
  EXPECT_EQ(response.error,
            "Pre-flight SSL Pin validation FAILED for localhost. MITM Attack Prevented!");
  EXPECT_EQ(response.statusCode, 0u);
  EXPECT_FALSE(response.success);

  // A failed pre-flight is not remembered: the next request tries again.
  EXPECT_EQ(client.Get(trusted_.Url(u"/again")).error, response.error);
  EXPECT_EQ(Methods(trusted_), std::vector<std::string>{});
  const std::vector<json> connections = trusted_.Connections("wrong pin", 1);
  ASSERT_FALSE(connections.empty()) << "the TLS handshake was made";
  for (const json& connection : connections) EXPECT_EQ(connection["bytes"], 0) << connection;
}

// The check runs for every request on the connection it rides, kept-alive ones too:
// here the pins change while the server's key stays, so only a check of that very
// request can stop it.
TEST_F(HttpClientTest, OnePreflightPerHostButAPinCheckBeforeEveryRequest) {
  PinLocalhost(leafPin_);
  HttpClient client;
  EXPECT_EQ(client.Get(trusted_.Url(u"/first")).statusCode, 404u);
  EXPECT_EQ(client.Get(trusted_.Url(u"/second")).statusCode, 404u);
  EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"HEAD /", "GET /first", "GET /second"}));
  // One kept-alive connection for all, the pre-flight's included: a pre-flight that left
  // its answer unfinished had its connection closed, and the next request paid a new one.
  const std::vector<json> requests = trusted_.Requests();
  ASSERT_EQ(requests[0]["connection"], requests[1]["connection"]) << "the pre-flight's was kept";
  ASSERT_EQ(requests[1]["connection"], requests[2]["connection"]) << "the connection was kept";

  PinLocalhost(kWrongPin);
  const HttpResponse response = client.Put(trusted_.Url(u"/third"), "token=x", u"text/plain");
  EXPECT_EQ(response.error, "SSL Pin validation FAILED for localhost");
  EXPECT_EQ(response.statusCode, 0u);
  EXPECT_EQ(response.body, "");
  EXPECT_EQ(Methods(trusted_), (std::vector<std::string>{"HEAD /", "GET /first", "GET /second"}));
}

// A server that shows the pinned key for its first N connections and a foreign one
// afterwards (the pre-flight alone, run once per host, let it have everything). Each
// request here gets a connection of its own, so the foreign key is met for sure.
TEST_F(HttpClientTest, AKeySwitchedAfterNConnectionsReceivesNothing) {
  PinLocalhost(leafPin_);
  for (const int n : {1, 2, 3}) {
    SCOPED_TRACE("switched after " + std::to_string(n));
    const std::string label = "switched after " + std::to_string(n);
    trusted_.SetConnections({{"switch_after", n}, {"keep_alive", false}, {"label", label}});
    trusted_.ClearLog();
    HttpClient client;
    client.SetHeader(u"X-Device-Id", u"device-1");
    std::vector<HttpResponse> responses;
    responses.push_back(client.Get(trusted_.Url(u"/api/player/pins"), {{u"X-Secret", u"s3"}}));
    responses.push_back(client.Get(trusted_.Url(u"/api/player/version")));
    responses.push_back(client.Put(trusted_.Url(u"/api/player/content"), "token=t&link_id=l",
                                   u"application/x-www-form-urlencoded"));
    responses.push_back(client.Get(trusted_.Url(u"/api/player/version")));

    // The first N connections (the pre-flight's first) serve; every later one is
    // refused before the request's first byte.
    for (std::size_t i = 0; i < responses.size(); ++i) {
      const bool foreign = static_cast<int>(i) + 1 >= n;  // connection i + 2
      EXPECT_EQ(responses[i].error, foreign ? "SSL Pin validation FAILED for localhost" : "") << i;
    }
    for (const json& request : trusted_.Requests()) EXPECT_FALSE(request["switched"]) << request;
    int switched = 0;
    for (const json& connection : trusted_.Connections(label, responses.size() + 1)) {
      if (!connection["switched"]) continue;
      ++switched;
      EXPECT_EQ(connection["bytes"], 0) << connection;
    }
    EXPECT_EQ(switched, static_cast<int>(responses.size()) + 1 - n);
  }
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

// Nothing of ours travels in the clear: no client header, no request header, no
// identity of the machine (localhost is one of the platform's hosts).
TEST_F(HttpClientTest, PlainHttpGetsNoPinCheckAndNoneOfOurHeaders) {
  PinLocalhost(kWrongPin);
  HttpClient client;
  client.SetHeader(u"X-Device-Id", u"device-1");
  const HttpResponse response =
      client.Get(plain_.Url(u"/api/player/version"), {{u"X-Secret", u"s3"}});
  EXPECT_EQ(response.statusCode, 200u) << response.error;
  EXPECT_EQ(Methods(plain_), (std::vector<std::string>{"GET /api/player/version"}));
  const json request = plain_.Requests().at(0);
  for (const char* name : {"X-Device-Id", "X-Secret", "X-Quorvel-Device", "X-Quorvel-Machine"}) {
    EXPECT_EQ(HeaderOf(request, name), "") << name;
  }
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

// A body is whole or it is an error, and no answer is read past a size no platform
// answer approaches.
TEST_F(HttpClientTest, ABodyIsWholeOrAnError) {
  PinLocalhost(leafPin_);
  const std::string tooLarge(kMaxResponseBytes + 1, 'x');
  trusted_.SetAnswers({
      {"GET /short",
       {{"body", "0123456789"},
        {"headers", {{"Content-Length", "100"}}},
        {"close_after_answer", true}}},
      {"GET /announced-large",
       {{"body", "x"}, {"headers", {{"Content-Length", "8388609"}}}, {"close_after_answer", true}}},
      {"GET /unannounced-large",
       {{"body", tooLarge},
        {"headers", {{"Content-Length", nullptr}}},
        {"close_after_answer", true}}},
      {"GET /exact", {{"body", std::string(kMaxResponseBytes, 'y')}}},
  });
  HttpClient client;
  const std::string tooLargeError = "Response too large: more than 8388608 bytes";
  for (const auto& [path, error] :
       {std::pair{u"/short", "Response body cut short: 10 of 100 bytes"},
        std::pair{u"/announced-large", tooLargeError.c_str()},
        std::pair{u"/unannounced-large", tooLargeError.c_str()}}) {
    const HttpResponse response = client.Get(trusted_.Url(path));
    EXPECT_EQ(response.error, error);
    EXPECT_EQ(response.statusCode, 200u) << error;
    EXPECT_FALSE(response.success) << error;
    EXPECT_EQ(response.body, "") << error;
  }
  const HttpResponse exact = client.Get(trusted_.Url(u"/exact"));
  EXPECT_TRUE(exact.success) << exact.error;
  EXPECT_EQ(exact.body.size(), kMaxResponseBytes);
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
  client.Get(trusted_.Url(u"/get"), {{u"X-Beta", u"this request only"}});
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
  EXPECT_EQ(HeaderOf(get, "X-Beta"), "this request only");
  EXPECT_EQ(HeaderOf(requests[2], "X-Beta"), "");
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
