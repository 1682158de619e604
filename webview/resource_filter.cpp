#include "webview/resource_filter.h"

#include <wrl/client.h>

#include <thread>

#include "common/device_identity.h"
#include "common/platform_values.h"
#include "common/text.h"
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

// The page sees a failed load; the learner sees the diagnostic half a second later.
void Block(ICoreWebView2WebResourceRequestedEventArgs* args, ICoreWebView2Environment* environment,
           const std::u16string& host) {
  ComPtr<ICoreWebView2WebResourceResponse> response;
  if (environment != nullptr &&
      SUCCEEDED(environment->CreateWebResourceResponse(nullptr, 403, L"Blocked",
                                                       L"Content-Type: text/plain", &response))) {
    args->put_Response(response.Get());
  }
  std::thread(ReportBrowserPinFailure, host).detach();
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

  if (const std::optional<std::u16string> host = HttpsHostOf(lowerAddress)) {
    if (!VerifyBrowserHost(*host)) {
      Block(args, environment, *host);
      return;
    }
  }
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
