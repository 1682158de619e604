#pragma once
// Callbacks that the program implements and the runtime calls: one Invoke each, after
// IUnknown. webview/com_helpers.h makes them from lambdas.
//
// Part of webview/abi/WebView2.h, which says why the order of the methods must never
// change. Include that header rather than this one.

#include "webview/abi/webview2_types.h"

struct DECLSPEC_UUID("b99369f3-9b11-47b5-bc6f-8e7895fcea17")
    ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR result) = 0;
};
__CRT_UUID_DECL(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, 0xb99369f3,
                0x9b11, 0x47b5, 0xbc, 0x6f, 0x8e, 0x78, 0x95, 0xfc, 0xea, 0x17)

struct DECLSPEC_UUID("fa504257-a216-4911-a860-fe8825712861")
    ICoreWebView2BrowserProcessExitedEventHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Environment* sender,
                                           ICoreWebView2BrowserProcessExitedEventArgs* args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2BrowserProcessExitedEventHandler, 0xfa504257, 0xa216, 0x4911, 0xa8,
                0x60, 0xfe, 0x88, 0x25, 0x71, 0x28, 0x61)

struct DECLSPEC_UUID("6c4819f3-c9b7-4260-8127-c9f5bde7f68c")
    ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2Controller* result) = 0;
};
__CRT_UUID_DECL(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, 0x6c4819f3, 0xc9b7,
                0x4260, 0x81, 0x27, 0xc9, 0xf5, 0xbd, 0xe7, 0xf6, 0x8c)

struct DECLSPEC_UUID("4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d")
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2Environment* result) = 0;
};
__CRT_UUID_DECL(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, 0x4e8a3389, 0xc9d8,
                0x4bd2, 0xb6, 0xb5, 0x12, 0x4f, 0xee, 0x6c, 0xc1, 0x4d)

struct DECLSPEC_UUID("d33a35bf-1c49-4f98-93ab-006e0533fe1c")
    ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                           ICoreWebView2NavigationCompletedEventArgs* args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2NavigationCompletedEventHandler, 0xd33a35bf, 0x1c49, 0x4f98, 0x93,
                0xab, 0x00, 0x6e, 0x05, 0x33, 0xfe, 0x1c)

struct DECLSPEC_UUID("9adbe429-f36d-432b-9ddc-f8881fbd76e3")
    ICoreWebView2NavigationStartingEventHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                           ICoreWebView2NavigationStartingEventArgs* args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2NavigationStartingEventHandler, 0x9adbe429, 0xf36d, 0x432b, 0x9d, 0xdc,
                0xf8, 0x88, 0x1f, 0xbd, 0x76, 0xe3)

struct DECLSPEC_UUID("d4c185fe-c81c-4989-97af-2d3fa7ab5651")
    ICoreWebView2NewWindowRequestedEventHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                           ICoreWebView2NewWindowRequestedEventArgs* args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2NewWindowRequestedEventHandler, 0xd4c185fe, 0xc81c, 0x4989, 0x97, 0xaf,
                0x2d, 0x3f, 0xa7, 0xab, 0x56, 0x51)

struct DECLSPEC_UUID("15e1c6a3-c72a-4df3-91d7-d097fbec6bfd")
    ICoreWebView2PermissionRequestedEventHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                           ICoreWebView2PermissionRequestedEventArgs* args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2PermissionRequestedEventHandler, 0x15e1c6a3, 0xc72a, 0x4df3, 0x91,
                0xd7, 0xd0, 0x97, 0xfb, 0xec, 0x6b, 0xfd)

struct DECLSPEC_UUID("8fd80075-ed08-42db-8570-f5d14977461e") ICoreWebView2PrintCompletedHandler
    : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, COREWEBVIEW2_PRINT_STATUS result) = 0;
};
__CRT_UUID_DECL(ICoreWebView2PrintCompletedHandler, 0x8fd80075, 0xed08, 0x42db, 0x85, 0x70, 0xf5,
                0xd1, 0x49, 0x77, 0x46, 0x1e)

struct DECLSPEC_UUID("79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1") ICoreWebView2ProcessFailedEventHandler
    : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                           ICoreWebView2ProcessFailedEventArgs* args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2ProcessFailedEventHandler, 0x79e0aea4, 0x990b, 0x42d9, 0xaa, 0x1d,
                0x0f, 0xcc, 0x2e, 0x5b, 0xc7, 0xf1)

struct DECLSPEC_UUID("57213f19-00e6-49fa-8e07-898ea01ecbd2")
    ICoreWebView2WebMessageReceivedEventHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                           ICoreWebView2WebMessageReceivedEventArgs* args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2WebMessageReceivedEventHandler, 0x57213f19, 0x00e6, 0x49fa, 0x8e, 0x07,
                0x89, 0x8e, 0xa0, 0x1e, 0xcb, 0xd2)

struct DECLSPEC_UUID("ab00b74c-15f1-4646-80e8-e76341d25d71")
    ICoreWebView2WebResourceRequestedEventHandler : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                           ICoreWebView2WebResourceRequestedEventArgs* args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2WebResourceRequestedEventHandler, 0xab00b74c, 0x15f1, 0x4646, 0x80,
                0xe8, 0xe7, 0x63, 0x41, 0xd2, 0x5d, 0x71)
