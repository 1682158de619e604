#pragma once
// The environment (one browser process with its user-data folder), which makes
// controllers, requests, responses and print settings; and the options it is created with.
//
// Part of webview/abi/WebView2.h, which says why the order of the methods must never
// change. Include that header rather than this one.

#include "webview/abi/webview2_types.h"

struct DECLSPEC_UUID("b96d755e-0319-4e92-a296-23436f46a1fc") ICoreWebView2Environment
    : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
      HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers,
                            ICoreWebView2WebResourceResponse** response) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* eventHandler,
                                 EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_NewBrowserVersionAvailable(EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment, 0xb96d755e, 0x0319, 0x4e92, 0xa2, 0x96, 0x23, 0x43, 0x6f,
                0x46, 0xa1, 0xfc)

struct DECLSPEC_UUID("41f3632b-5ef4-404f-ad82-2d606c5a9a21") ICoreWebView2Environment2
    : public ICoreWebView2Environment {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  CreateWebResourceRequest(LPCWSTR uri, LPCWSTR Method, IStream* postData, LPCWSTR Headers,
                           ICoreWebView2WebResourceRequest** value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment2, 0x41f3632b, 0x5ef4, 0x404f, 0xad, 0x82, 0x2d, 0x60, 0x6c,
                0x5a, 0x9a, 0x21)

struct DECLSPEC_UUID("80a22ae3-be7c-4ce2-afe1-5a50056cdeeb") ICoreWebView2Environment3
    : public ICoreWebView2Environment2 {
 public:
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2CompositionController(
      HWND ParentWindow,
      ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  CreateCoreWebView2PointerInfo(ICoreWebView2PointerInfo** value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment3, 0x80a22ae3, 0xbe7c, 0x4ce2, 0xaf, 0xe1, 0x5a, 0x50, 0x05,
                0x6c, 0xde, 0xeb)

struct DECLSPEC_UUID("20944379-6dcf-41d6-a0a0-abc0fc50de0d") ICoreWebView2Environment4
    : public ICoreWebView2Environment3 {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetAutomationProviderForWindow(HWND hwnd, IUnknown** value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment4, 0x20944379, 0x6dcf, 0x41d6, 0xa0, 0xa0, 0xab, 0xc0, 0xfc,
                0x50, 0xde, 0x0d)

struct DECLSPEC_UUID("319e423d-e0d7-4b8d-9254-ae9475de9b17") ICoreWebView2Environment5
    : public ICoreWebView2Environment4 {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  add_BrowserProcessExited(ICoreWebView2BrowserProcessExitedEventHandler* eventHandler,
                           EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_BrowserProcessExited(EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment5, 0x319e423d, 0xe0d7, 0x4b8d, 0x92, 0x54, 0xae, 0x94, 0x75,
                0xde, 0x9b, 0x17)

struct DECLSPEC_UUID("e59ee362-acbd-4857-9a8e-d3644d9459a9") ICoreWebView2Environment6
    : public ICoreWebView2Environment5 {
 public:
  virtual HRESULT STDMETHODCALLTYPE CreatePrintSettings(ICoreWebView2PrintSettings** value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment6, 0xe59ee362, 0xacbd, 0x4857, 0x9a, 0x8e, 0xd3, 0x64, 0x4d,
                0x94, 0x59, 0xa9)

struct DECLSPEC_UUID("2fde08a8-1e9a-4766-8c05-95a9ceb9d1c5") ICoreWebView2EnvironmentOptions
    : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) = 0;
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions, 0x2fde08a8, 0x1e9a, 0x4766, 0x8c, 0x05, 0x95, 0xa9,
                0xce, 0xb9, 0xd1, 0xc5)
