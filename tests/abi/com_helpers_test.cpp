#include "webview/com_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Interface pointers that the handlers only pass on, never call.
template <class Interface>
Interface* FakePointer(std::uintptr_t address) {
  return reinterpret_cast<Interface*>(address);
}

TEST(MakeCallback, InvokeGetsTheArgumentsAndReturnsTheFunctionsResult) {
  ICoreWebView2* seen_sender = nullptr;
  ICoreWebView2NavigationStartingEventArgs* seen_args = nullptr;
  Microsoft::WRL::ComPtr<ICoreWebView2NavigationStartingEventHandler> navigation =
      MakeCallback<ICoreWebView2NavigationStartingEventHandler>(
          [&](ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args) {
            seen_sender = sender;
            seen_args = args;
            return E_ABORT;
          });
  EXPECT_EQ(navigation->Invoke(FakePointer<ICoreWebView2>(0x1000),
                               FakePointer<ICoreWebView2NavigationStartingEventArgs>(0x2000)),
            E_ABORT);
  EXPECT_EQ(seen_sender, FakePointer<ICoreWebView2>(0x1000));
  EXPECT_EQ(seen_args, FakePointer<ICoreWebView2NavigationStartingEventArgs>(0x2000));

  HRESULT seen_code = S_OK;
  COREWEBVIEW2_PRINT_STATUS seen_status = COREWEBVIEW2_PRINT_STATUS_SUCCEEDED;
  auto print = MakeCallback<ICoreWebView2PrintCompletedHandler>(
      [&](HRESULT code, COREWEBVIEW2_PRINT_STATUS status) {
        seen_code = code;
        seen_status = status;
        return S_OK;
      });
  EXPECT_EQ(print->Invoke(E_FAIL, COREWEBVIEW2_PRINT_STATUS_PRINTER_UNAVAILABLE), S_OK);
  EXPECT_EQ(seen_code, E_FAIL);
  EXPECT_EQ(seen_status, COREWEBVIEW2_PRINT_STATUS_PRINTER_UNAVAILABLE);
}

TEST(MakeCallback, QueryInterfaceAnswersIUnknownAndTheHandlerOnly) {
  auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
      [](HRESULT, ICoreWebView2Environment*) { return S_OK; });

  Microsoft::WRL::ComPtr<IUnknown> unknown;
  ASSERT_EQ(handler->QueryInterface(IID_PPV_ARGS(&unknown)), S_OK);
  EXPECT_EQ(unknown.Get(), handler.Get());

  Microsoft::WRL::ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> same;
  ASSERT_EQ(handler.As(&same), S_OK);
  EXPECT_EQ(same.Get(), handler.Get());

  void* object = FakePointer<void>(0x1000);
  EXPECT_EQ(handler->QueryInterface(
                __uuidof(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler), &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(handler->QueryInterface(__uuidof(IUnknown), nullptr), E_POINTER);
}

TEST(MakeCallback, TheLastReleaseDestroysTheObjectOnce) {
  int destroyed = 0;
  // Dies with the function, which dies with the object: counts the object's end.
  std::shared_ptr<void> witness(nullptr, [&destroyed](void*) { ++destroyed; });
  auto handler = MakeCallback<ICoreWebView2NavigationCompletedEventHandler>(
      [witness = std::move(witness)](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs*) {
        return S_OK;
      });

  ICoreWebView2NavigationCompletedEventHandler* raw = handler.Get();
  EXPECT_EQ(raw->AddRef(), 2u);
  handler.Reset();  // the runtime still holds its reference
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(raw->AddRef(), 2u);
  EXPECT_EQ(raw->Release(), 1u);
  EXPECT_EQ(raw->Release(), 0u);
  EXPECT_EQ(destroyed, 1);
}

TEST(MakeCallback, ReferencesFromManyThreadsBalance) {
  int destroyed = 0;
  std::shared_ptr<void> witness(nullptr, [&destroyed](void*) { ++destroyed; });
  auto handler = MakeCallback<ICoreWebView2WebMessageReceivedEventHandler>(
      [witness = std::move(witness)](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs*) {
        return S_OK;
      });

  constexpr int kThreads = 4;
  constexpr int kRounds = 100000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([raw = handler.Get()] {
      for (int i = 0; i < kRounds; ++i) raw->AddRef();
      for (int i = 0; i < kRounds; ++i) raw->Release();
    });
  }
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(handler->AddRef(), 2u);  // nothing gained or lost
  handler->Release();
  EXPECT_EQ(destroyed, 0);
  handler.Reset();
  EXPECT_EQ(destroyed, 1);
}

TEST(MakeCallback, AnExceptionFromTheFunctionBecomesEUnexpected) {
  auto handler = MakeCallback<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>(
      [](HRESULT, LPCWSTR) -> HRESULT { throw std::runtime_error("handler failed"); });
  EXPECT_EQ(handler->Invoke(S_OK, L"id"), E_UNEXPECTED);
}

// A string as the runtime returns it: allocated with CoTaskMemAlloc.
LPWSTR RuntimeString(std::wstring_view text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  text.copy(copy, text.size());
  copy[text.size()] = L'\0';
  return copy;
}

TEST(CoTaskString, HoldsWhatTheOutParameterReceivedUntilTheNext) {
  CoTaskString text;
  EXPECT_EQ(text.Get(), nullptr);
  EXPECT_EQ(text.View(), L"");

  *text.Receive() = RuntimeString(L"https://example.test/");
  EXPECT_EQ(text.View(), L"https://example.test/");

  LPWSTR* out = text.Receive();  // frees the first string
  EXPECT_EQ(*out, nullptr);
  *out = RuntimeString(L"second");

  CoTaskString moved = std::move(text);
  EXPECT_EQ(moved.View(), L"second");
  EXPECT_EQ(text.Get(), nullptr);  // the moved-from string no longer frees it
}

}  // namespace
