#pragma once
// Requests, their header collections and responses.

#include <string>
#include <utility>
#include <vector>

#include "tools/runtime-standin/com_object.h"
#include "tools/runtime-standin/headers.h"
#include "tools/runtime-standin/text.h"

namespace standin {

class RequestHeaders final : public ComObject<RequestHeaders, ICoreWebView2HttpRequestHeaders> {
 public:
  static constexpr GUID kSelfIid = {
      0x6c1d0b52, 0x8e0f, 0x4a57, {0x9d, 0x2a, 0x41, 0x37, 0x0c, 0x5e, 0x7b, 0x11}};

  RequestHeaders(std::shared_ptr<Runtime> runtime, HeaderList headers);

  const HeaderList& list() const { return headers_; }

  HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name,
                                       ICoreWebView2HttpHeadersCollectionIterator** value) override;
  HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* value) override;
  HRESULT STDMETHODCALLTYPE SetHeader(LPCWSTR name, LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE RemoveHeader(LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE
  GetIterator(ICoreWebView2HttpHeadersCollectionIterator** value) override;

 private:
  HeaderList headers_;
};

class WebResourceRequest final
    : public ComObject<WebResourceRequest, ICoreWebView2WebResourceRequest> {
 public:
  static constexpr GUID kSelfIid = {
      0x2f8a7c31, 0x5b64, 0x4d0e, {0x8a, 0x93, 0x1e, 0x6b, 0x40, 0xd2, 0x77, 0x5c}};

  // `headers` is shared: a navigation's request carries the collection the host already
  // saw in NavigationStarting.
  WebResourceRequest(std::shared_ptr<Runtime> runtime, std::wstring uri, std::wstring method,
                     ComPtr<IStream> content, ComPtr<RequestHeaders> headers);

  const std::wstring& uri() const { return uri_; }
  const std::wstring& method() const { return method_; }
  const ComPtr<IStream>& content() const { return content_; }
  const ComPtr<RequestHeaders>& headers() const { return headers_; }

  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) override;
  HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) override;
  HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) override;
  HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
  HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
  HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders** headers) override;

 private:
  std::wstring uri_;
  std::wstring method_;
  ComPtr<IStream> content_;
  ComPtr<RequestHeaders> headers_;
};

class WebResourceResponse final
    : public ComObject<WebResourceResponse, ICoreWebView2WebResourceResponse> {
 public:
  static constexpr GUID kSelfIid = {
      0x93e4a6d8, 0x0c2b, 0x4f71, {0xb6, 0x5e, 0x2d, 0x88, 0x19, 0xa4, 0x3f, 0x60}};

  WebResourceResponse(std::shared_ptr<Runtime> runtime, ComPtr<IStream> content, int status,
                      std::wstring reason, HeaderList headers);

  const HeaderList& headers() const { return headers_; }

  HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
  HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
  HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders** headers) override;
  HRESULT STDMETHODCALLTYPE get_StatusCode(int* status) override;
  HRESULT STDMETHODCALLTYPE put_StatusCode(int status) override;
  HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reason) override;
  HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reason) override;

 private:
  ComPtr<IStream> content_;
  int status_;
  std::wstring reason_;
  HeaderList headers_;
};

// Everything in `stream` from its start (a host may hand over a stream it just wrote).
std::string ReadAll(IStream* stream);
// A new stream holding `bytes`, positioned at its start.
ComPtr<IStream> StreamOf(std::string_view bytes);

// {"status":…,"reason":…,"headers":{…}} of any response, for the log; the headers only
// when the response is the stand-in's own.
Json ResponseJson(ICoreWebView2WebResourceResponse* response);

}  // namespace standin
