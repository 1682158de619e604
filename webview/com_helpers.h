#pragma once
// Small COM pieces for working with the browser runtime: handler objects made from
// lambdas, and an owner for the strings that the runtime hands out.

#include <objbase.h>
#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <string_view>
#include <utility>

#include "webview/abi/WebView2.h"

// A COM object implementing one handler interface, that is one with a single
// `Invoke(Args...)` after IUnknown, by calling a std::function. Its reference count is
// atomic because the runtime may add and drop references on its own threads. Made by
// MakeCallback below.
template <class Handler, class InvokeMethod = decltype(&Handler::Invoke)>
class CallbackObject;

template <class Handler, class... Args>
class CallbackObject<Handler, HRESULT (STDMETHODCALLTYPE Handler::*)(Args...)> final
    : public Handler {
 public:
  using Function = std::function<HRESULT(Args...)>;

  explicit CallbackObject(Function function) : function_(std::move(function)) {}
  CallbackObject(const CallbackObject&) = delete;
  CallbackObject& operator=(const CallbackObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(Handler))) {
      *object = static_cast<Handler*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }

  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // An exception must not unwind into the runtime's frames, which cannot pass it on;
  // the runtime gets E_UNEXPECTED instead.
  HRESULT STDMETHODCALLTYPE Invoke(Args... args) override {
    try {
      return function_(args...);
    } catch (...) {
      return E_UNEXPECTED;
    }
  }

 private:
  ~CallbackObject() = default;  // only the last Release destroys it

  LONG references_ = 1;
  Function function_;
};

// The handler object for `function`, which takes Invoke's parameters and returns an
// HRESULT, e.g. MakeCallback<ICoreWebView2NavigationStartingEventHandler>(
//     [](ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args) { ... }).
// The result holds the only reference.
//
// mingw-w64's ComPtr differs from WRL's in two places: Attach adds a reference (so an
// attached new object leaks), and move assignment copies (the source keeps its
// reference until it is reset or destroyed). Hence the new object is stored through
// GetAddressOf here, and code that hands a reference over uses Swap or Detach.
template <class Handler, class Function>
Microsoft::WRL::ComPtr<Handler> MakeCallback(Function&& function) {
  Microsoft::WRL::ComPtr<Handler> handler;
  *handler.GetAddressOf() = new CallbackObject<Handler>(std::forward<Function>(function));
  return handler;
}

// Owns a string that the runtime returned through an LPWSTR out-parameter and frees it
// with CoTaskMemFree, as such strings must be: `args->get_Uri(uri.Receive())`.
class CoTaskString {
 public:
  CoTaskString() = default;
  CoTaskString(const CoTaskString&) = delete;
  CoTaskString& operator=(const CoTaskString&) = delete;
  CoTaskString(CoTaskString&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
  CoTaskString& operator=(CoTaskString&& other) noexcept {
    if (this != &other) {
      Reset();
      text_ = std::exchange(other.text_, nullptr);
    }
    return *this;
  }
  ~CoTaskString() { Reset(); }

  // The out-parameter to pass; frees the string held so far.
  LPWSTR* Receive() {
    Reset();
    return &text_;
  }

  void Reset() {
    CoTaskMemFree(text_);
    text_ = nullptr;
  }

  // Null when the runtime gave no string.
  const wchar_t* Get() const { return text_; }

  // The text; empty when the runtime gave no string.
  std::wstring_view View() const { return text_ ? std::wstring_view(text_) : std::wstring_view(); }

 private:
  LPWSTR text_ = nullptr;
};
