#include "net/pin_loading.h"

#include <mutex>
#include <set>
#include <shared_mutex>

#include "common/platform_values.h"
#include "common/reader_writer_lock.h"
#include "common/text.h"
#include "diag/diagnostic_window.h"
#include "net/http_client.h"
#include "net/pin_failure.h"
#include "net/pin_store.h"
#include "net/server_pin.h"
#include "net/winhttp_request.h"

namespace {

constexpr wchar_t kBrowserUserAgent[] =
    L"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    L"Chrome/120.0.0.0 Safari/537.36 Edg/120.0.0.0";
constexpr int kBrowserCheckTimeoutMs = 3000;
constexpr std::size_t kMaxCodeBytes = 100;

struct VerifiedHosts {
  ReaderWriterLock lock;
  std::set<std::u16string> hosts;
};

VerifiedHosts& Verified() {
  static VerifiedHosts verified;
  return verified;
}

bool Remember(const std::u16string& host) {
  std::unique_lock guard(Verified().lock);
  Verified().hosts.insert(host);
  return true;
}

}  // namespace

bool LoadDynamicPins() {
  try {
    HttpClient& client = HttpClient::Shared();
    client.SetHeader(u"X-Secret", AsciiToUtf16(PinListSecret()));
    const HttpResponse response = client.Get(AsciiToUtf16(PinListAddress()));
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

bool VerifyBrowserHost(const std::u16string& host) {
  {
    std::shared_lock guard(Verified().lock);
    if (Verified().hosts.contains(host)) return true;
  }
  if (!HostIsPinned(host)) return Remember(host);

  // A connection of its own: the browser's TLS session is out of reach, so the same
  // server is asked again and its chain checked here.
  WinHttpHandle session(WinHttpOpen(kBrowserUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return true;
  WinHttpSetTimeouts(session.get(), kBrowserCheckTimeoutMs, kBrowserCheckTimeoutMs,
                     kBrowserCheckTimeoutMs, kBrowserCheckTimeoutMs);
  WinHttpHandle connection(
      WinHttpConnect(session.get(), WidePointer(host), INTERNET_DEFAULT_HTTPS_PORT, 0));
  if (!connection) return true;
  WinHttpHandle request(WinHttpOpenRequest(connection.get(), L"HEAD", L"/", nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           WINHTTP_FLAG_SECURE));
  if (!request) return true;
  ConfigureRequest(request.get(), /*pinned=*/true);
  // An unreachable host is the browser's problem to report, not a pin failure.
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                          0, 0, 0)) {
    return Remember(host);
  }
  const bool passes =
      !WinHttpReceiveResponse(request.get(), nullptr) || VerifyServerPin(request.get(), host);
  return passes ? Remember(host) : false;
}

void ReportBrowserPinFailure(const std::u16string& host) {
  Sleep(500);
  std::string code = "MITM_PIN_" + Utf16ToUtf8(host);
  if (code.size() > kMaxCodeBytes) code.resize(kMaxCodeBytes);
  ShowDiagnosticAndExit(kPinFailureCaption, kPinFailureEnglish, kPinFailureArabic, code);
}
