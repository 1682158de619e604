#include "net/pin_loading.h"

#include <atomic>
#include <mutex>
#include <set>
#include <shared_mutex>
#include <thread>
#include <utility>

#include "common/platform_values.h"
#include "common/reader_writer_lock.h"
#include "common/text.h"
#include "diag/diagnostic_window.h"
#include "net/http_client.h"
#include "net/pin_failure.h"
#include "net/pin_gate.h"
#include "net/pin_store.h"
#include "net/server_pin.h"
#include "net/winhttp_request.h"

namespace {

constexpr wchar_t kBrowserUserAgent[] =
    L"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    L"Chrome/120.0.0.0 Safari/537.36 Edg/120.0.0.0";
constexpr int kBrowserCheckTimeoutMs = 3000;
constexpr std::size_t kMaxCodeBytes = 100;

// Hosts the browser may load from, by host and port: another port may be another
// server.
struct VerifiedHosts {
  ReaderWriterLock lock;
  std::set<std::pair<std::u16string, int>> hosts;
};

VerifiedHosts& Verified() {
  static VerifiedHosts verified;
  return verified;
}

BrowserHostCheck Remember(const std::u16string& host, int port) {
  std::unique_lock guard(Verified().lock);
  Verified().hosts.emplace(host, port);
  return BrowserHostCheck::kPasses;
}

}  // namespace

bool LoadDynamicPins() {
  try {
    const HttpResponse response = HttpClient::Shared().Get(
        AsciiToUtf16(PinListAddress()), {{u"X-Secret", AsciiToUtf16(PinListSecret())}});
    if (!response.success) return false;
    std::optional<std::vector<PinEntry>> served = ReadPinList(response.body);
    if (!served) return false;
    std::vector<PinEntry> entries = DefaultPins();
    entries.insert(entries.end(), served->begin(), served->end());
    PinStore::Instance().Replace(std::move(entries));
    return true;
  } catch (...) {
    return false;
  }
}

BrowserHostCheck VerifyBrowserHost(const std::u16string& host, int port) {
  {
    std::shared_lock guard(Verified().lock);
    if (Verified().hosts.contains({host, port})) return BrowserHostCheck::kPasses;
  }
  if (!HostIsPinned(host)) return Remember(host, port);

  // A connection of its own: the browser's TLS session is out of reach, so the same
  // server is asked again and its chain checked here. A check that cannot complete
  // proves nothing: the resource is not loaded, nothing is remembered, and nothing is
  // reported as an attack.
  constexpr BrowserHostCheck kUnavailable = BrowserHostCheck::kUnavailable;
  if (port <= 0 || port > 65535) return kUnavailable;
  WinHttpHandle session(WinHttpOpen(kBrowserUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return kUnavailable;
  WinHttpSetTimeouts(session.get(), kBrowserCheckTimeoutMs, kBrowserCheckTimeoutMs,
                     kBrowserCheckTimeoutMs, kBrowserCheckTimeoutMs);
  // An IPv6 literal is read in brackets; WinHTTP takes it without.
  std::u16string server = host;
  if (server.size() > 2 && server.front() == u'[' && server.back() == u']') {
    server = server.substr(1, server.size() - 2);
  }
  WinHttpHandle connection(
      WinHttpConnect(session.get(), WidePointer(server), static_cast<INTERNET_PORT>(port), 0));
  if (!connection) return kUnavailable;
  WinHttpHandle request(WinHttpOpenRequest(connection.get(), L"HEAD", L"/", nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           WINHTTP_FLAG_SECURE));
  if (!request) return kUnavailable;
  ConfigureRequest(request.get(), /*pinned=*/true);
  // Like every request of the player, this one leaves only once the key on its
  // connection is proven: a foreign key gets nothing past the handshake.
  PinGate gate(request.get(), host);
  if (!gate.armed()) return kUnavailable;
  const bool sent = WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                       WINHTTP_NO_REQUEST_DATA, 0, 0, gate.context());
  if (gate.refused()) {
    request.release();  // closed by the gate
    if (gate.refusal() != PinVerdict::kMismatched) return kUnavailable;
    ReportServerPinFailure(host);
    return BrowserHostCheck::kFails;
  }
  if (!sent || !gate.checked() || !WinHttpReceiveResponse(request.get(), nullptr)) {
    return kUnavailable;
  }
  switch (CheckServerPin(request.get(), host)) {
    case PinVerdict::kUnpinned:
    case PinVerdict::kMatched:
      return Remember(host, port);
    case PinVerdict::kMismatched:
      ReportServerPinFailure(host);
      return BrowserHostCheck::kFails;
    case PinVerdict::kUnreadable:
      break;
  }
  return kUnavailable;
}

void StartBrowserPinFailureReport(const std::u16string& host) {
  static std::atomic<bool> started = false;
  if (!started.exchange(true)) std::thread(ReportBrowserPinFailure, host).detach();
}

void ReportBrowserPinFailure(const std::u16string& host) {
  Sleep(500);
  std::string code = "MITM_PIN_" + Utf16ToUtf8(host);
  if (code.size() > kMaxCodeBytes) code.resize(kMaxCodeBytes);
  ShowDiagnosticAndExit(kPinFailureCaption, kPinFailureEnglish, kPinFailureArabic, code);
}
