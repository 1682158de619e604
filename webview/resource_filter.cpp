#include "webview/resource_filter.h"

#include <wrl/client.h>

#include "common/device_identity.h"
#include "common/platform_values.h"
#include "common/text.h"
#include "common/web_address.h"
#include "common/wide_text.h"
#include "net/pin_loading.h"
#include "webview/com_helpers.h"
#include "webview/resource_rules.h"

using Microsoft::WRL::ComPtr;

namespace {

void SetHeader(ICoreWebView2HttpRequestHeaders* headers, const std::u16string& name,
               const std::u16string& value) {
  headers->SetHeader(WidePointer(name), WidePointer(value));  // a refused header is skipped
}

// The page sees a failed load.
void Block(ICoreWebView2WebResourceRequestedEventArgs* args,
           ICoreWebView2Environment* environment) {
  ComPtr<ICoreWebView2WebResourceResponse> response;
  if (environment != nullptr &&
      SUCCEEDED(environment->CreateWebResourceResponse(nullptr, 403, L"Blocked",
                                                       L"Content-Type: text/plain", &response))) {
    args->put_Response(response.Get());
  }
}

// The pins of the host and port the browser contacts for this address (the reading
// the browser itself makes: the host after any user information, the explicit port or
// the scheme's). False when the resource must not load: its server failed the pins
// (the learner sees the diagnostic half a second later, once per process), a check
// could not complete, or an https address cannot be read with certainty.
bool PassesPinCheck(ICoreWebView2WebResourceRequestedEventArgs* args,
                    ICoreWebView2Environment* environment, const std::wstring& address,
                    const std::u16string& lowerAddress) {
  const std::optional<WebAddress> target = ReadWebAddress(FromWide(address));
  if (!target && lowerAddress.starts_with(u"https:")) {
    Block(args, environment);
    return false;
  }
  if (!target || target->scheme != u"https") return true;
  const BrowserHostCheck check = VerifyBrowserHost(target->host, target->port);
  if (check == BrowserHostCheck::kPasses) return true;
  Block(args, environment);
  if (check == BrowserHostCheck::kFails) StartBrowserPinFailureReport(target->host);
  return false;
}

}  // namespace

void FilterWebResourceRequest(ICoreWebView2WebResourceRequestedEventArgs* args,
                              ICoreWebView2Environment* environment,
                              const ResourceCallback& windowCallback) {
  ComPtr<ICoreWebView2WebResourceRequest> request;
  ComPtr<ICoreWebView2HttpRequestHeaders> headers;
  if (FAILED(args->get_Request(&request)) || !request || FAILED(request->get_Headers(&headers)) ||
      !headers) {
    return;
  }
  SetHeader(headers.Get(), AsciiToUtf16(BrowserFixedHeaderName()),
            AsciiToUtf16(BrowserFixedHeaderValue()));

  CoTaskString uri;
  if (FAILED(request->get_Uri(uri.Receive())) || uri.Get() == nullptr) return;
  const std::wstring address(uri.View());
  const std::u16string lowerAddress = AsciiLower(FromWide(address));

  if (!PassesPinCheck(args, environment, address, lowerAddress)) return;
  for (const HeaderField& header :
       ResourceIdentityHeaders(lowerAddress, DeviceIdentifier(), SecondDeviceIdentifier())) {
    SetHeader(headers.Get(), header.name, header.value);
  }
  if (windowCallback) windowCallback(address, args);
}

void SetRequestHeader(ICoreWebView2WebResourceRequestedEventArgs* args, const std::wstring& name,
                      const std::wstring& value) {
  ComPtr<ICoreWebView2WebResourceRequest> request;
  ComPtr<ICoreWebView2HttpRequestHeaders> headers;
  if (SUCCEEDED(args->get_Request(&request)) && request &&
      SUCCEEDED(request->get_Headers(&headers)) && headers) {
    headers->SetHeader(name.c_str(), value.c_str());
  }
}
