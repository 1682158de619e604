#include "tools/runtime-standin/requests.h"

namespace standin {
RequestHeaders::RequestHeaders(std::shared_ptr<Runtime> runtime, HeaderList headers)
    : ComObject(std::move(runtime)), headers_(std::move(headers)) {}

HRESULT RequestHeaders::GetHeader(LPCWSTR name, LPWSTR* value) {
  if (name == nullptr || value == nullptr) return E_INVALIDARG;
  *value = nullptr;
  auto entry = FindHeader(headers_, name);
  if (entry == headers_.end()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  return CopyOut(entry->second, value);
}

// The collection iterator is an interface the ABI headers only forward-declare.
HRESULT RequestHeaders::GetHeaders(LPCWSTR, ICoreWebView2HttpHeadersCollectionIterator**) {
  return E_NOTIMPL;
}

HRESULT RequestHeaders::Contains(LPCWSTR name, BOOL* value) {
  if (name == nullptr || value == nullptr) return E_INVALIDARG;
  *value = FindHeader(headers_, name) != headers_.end();
  return S_OK;
}

HRESULT RequestHeaders::SetHeader(LPCWSTR name, LPCWSTR value) {
  if (name == nullptr || *name == L'\0' || value == nullptr) return E_INVALIDARG;
  auto entry = FindHeader(headers_, name);
  if (entry != headers_.end()) {
    entry->second = value;
  } else {
    headers_.emplace_back(name, value);
  }
  return S_OK;
}

HRESULT RequestHeaders::RemoveHeader(LPCWSTR name) {
  if (name == nullptr) return E_INVALIDARG;
  auto entry = FindHeader(headers_, name);
  if (entry != headers_.end()) headers_.erase(entry);
  return S_OK;
}

HRESULT RequestHeaders::GetIterator(ICoreWebView2HttpHeadersCollectionIterator**) {
  return E_NOTIMPL;
}

WebResourceRequest::WebResourceRequest(std::shared_ptr<Runtime> runtime, std::wstring uri,
                                       std::wstring method, ComPtr<IStream> content,
                                       ComPtr<RequestHeaders> headers)
    : ComObject(std::move(runtime)),
      uri_(std::move(uri)),
      method_(std::move(method)),
      content_(std::move(content)),
      headers_(std::move(headers)) {}

HRESULT WebResourceRequest::get_Uri(LPWSTR* uri) { return CopyOut(uri_, uri); }

HRESULT WebResourceRequest::put_Uri(LPCWSTR uri) {
  if (uri == nullptr) return E_INVALIDARG;
  uri_ = uri;
  return S_OK;
}

HRESULT WebResourceRequest::get_Method(LPWSTR* method) { return CopyOut(method_, method); }

HRESULT WebResourceRequest::put_Method(LPCWSTR method) {
  if (method == nullptr) return E_INVALIDARG;
  method_ = method;
  return S_OK;
}

HRESULT WebResourceRequest::get_Content(IStream** content) { return HandOut(content_, content); }

HRESULT WebResourceRequest::put_Content(IStream* content) {
  content_ = content;
  return S_OK;
}

HRESULT WebResourceRequest::get_Headers(ICoreWebView2HttpRequestHeaders** headers) {
  return HandOut(headers_, headers);
}

WebResourceResponse::WebResourceResponse(std::shared_ptr<Runtime> runtime, ComPtr<IStream> content,
                                         int status, std::wstring reason, HeaderList headers)
    : ComObject(std::move(runtime)),
      content_(std::move(content)),
      status_(status),
      reason_(std::move(reason)),
      headers_(std::move(headers)) {}

HRESULT WebResourceResponse::get_Content(IStream** content) { return HandOut(content_, content); }

HRESULT WebResourceResponse::put_Content(IStream* content) {
  content_ = content;
  return S_OK;
}

// The response header collection is an interface the ABI headers only forward-declare;
// the host gives a response its headers as text when it creates it.
HRESULT WebResourceResponse::get_Headers(ICoreWebView2HttpResponseHeaders**) { return E_NOTIMPL; }

HRESULT WebResourceResponse::get_StatusCode(int* status) { return GetValue(status, status_); }

HRESULT WebResourceResponse::put_StatusCode(int status) {
  status_ = status;
  return S_OK;
}

HRESULT WebResourceResponse::get_ReasonPhrase(LPWSTR* reason) { return CopyOut(reason_, reason); }

HRESULT WebResourceResponse::put_ReasonPhrase(LPCWSTR reason) {
  if (reason == nullptr) return E_INVALIDARG;
  reason_ = reason;
  return S_OK;
}

std::string ReadAll(IStream* stream) {
  std::string bytes;
  if (stream == nullptr) return bytes;
  const LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);  // a stream that cannot seek is read as it is
  char chunk[65536];
  ULONG got = 0;
  while (SUCCEEDED(stream->Read(chunk, sizeof(chunk), &got)) && got > 0) bytes.append(chunk, got);
  return bytes;
}

ComPtr<IStream> StreamOf(std::string_view bytes) {
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return nullptr;
  ULONG written = 0;
  stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  const LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

Json ResponseJson(ICoreWebView2WebResourceResponse* response) {
  if (response == nullptr) return nullptr;
  Json members = Json::object();
  int status = 0;
  members["status"] = SUCCEEDED(response->get_StatusCode(&status)) ? Json(status) : Json(nullptr);
  LPWSTR reason = nullptr;
  members["reason"] =
      SUCCEEDED(response->get_ReasonPhrase(&reason)) ? TextOrNull(reason) : Json(nullptr);
  CoTaskMemFree(reason);
  if (auto own = OwnObject<WebResourceResponse>(response)) {
    members["headers"] = HeadersJson(own->headers());
  }
  return members;
}

}  // namespace standin
