#pragma once
// The view's settings and their later versions.
//
// Part of webview/abi/WebView2.h, which says why the order of the methods must never
// change. Include that header rather than this one.

#include "webview/abi/webview2_types.h"

struct DECLSPEC_UUID("e562e4f0-d7fa-43ac-8d71-c05150499f00") ICoreWebView2Settings
    : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* isScriptEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL isScriptEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* isWebMessageEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL isWebMessageEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  get_AreDefaultScriptDialogsEnabled(BOOL* areDefaultScriptDialogsEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  put_AreDefaultScriptDialogsEnabled(BOOL areDefaultScriptDialogsEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* isStatusBarEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL isStatusBarEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* areDevToolsEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL areDevToolsEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* allowed) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL allowed) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL enabled) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Settings, 0xe562e4f0, 0xd7fa, 0x43ac, 0x8d, 0x71, 0xc0, 0x51, 0x50,
                0x49, 0x9f, 0x00)

struct DECLSPEC_UUID("ee9a0f68-f46c-4e32-ac23-ef8cac224d2a") ICoreWebView2Settings2
    : public ICoreWebView2Settings {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_UserAgent(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_UserAgent(LPCWSTR value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Settings2, 0xee9a0f68, 0xf46c, 0x4e32, 0xac, 0x23, 0xef, 0x8c, 0xac,
                0x22, 0x4d, 0x2a)

struct DECLSPEC_UUID("fdb5ab74-af33-4854-84f0-0a631deb5eba") ICoreWebView2Settings3
    : public ICoreWebView2Settings2 {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_AreBrowserAcceleratorKeysEnabled(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AreBrowserAcceleratorKeysEnabled(BOOL value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Settings3, 0xfdb5ab74, 0xaf33, 0x4854, 0x84, 0xf0, 0x0a, 0x63, 0x1d,
                0xeb, 0x5e, 0xba)

struct DECLSPEC_UUID("cb56846c-4168-4d53-b04f-03b6d6796ff2") ICoreWebView2Settings4
    : public ICoreWebView2Settings3 {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_IsPasswordAutosaveEnabled(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsPasswordAutosaveEnabled(BOOL value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsGeneralAutofillEnabled(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsGeneralAutofillEnabled(BOOL value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Settings4, 0xcb56846c, 0x4168, 0x4d53, 0xb0, 0x4f, 0x03, 0xb6, 0xd6,
                0x79, 0x6f, 0xf2)

struct DECLSPEC_UUID("183e7052-1d03-43a0-ab99-98e043b66b39") ICoreWebView2Settings5
    : public ICoreWebView2Settings4 {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_IsPinchZoomEnabled(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsPinchZoomEnabled(BOOL value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Settings5, 0x183e7052, 0x1d03, 0x43a0, 0xab, 0x99, 0x98, 0xe0, 0x43,
                0xb6, 0x6b, 0x39)

struct DECLSPEC_UUID("11cb3acd-9bc8-43b8-83bf-f40753714f87") ICoreWebView2Settings6
    : public ICoreWebView2Settings5 {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_IsSwipeNavigationEnabled(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsSwipeNavigationEnabled(BOOL value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Settings6, 0x11cb3acd, 0x9bc8, 0x43b8, 0x83, 0xbf, 0xf4, 0x07, 0x53,
                0x71, 0x4f, 0x87)

struct DECLSPEC_UUID("488dc902-35ef-42d2-bc7d-94b65c4bc49c") ICoreWebView2Settings7
    : public ICoreWebView2Settings6 {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  get_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  put_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Settings7, 0x488dc902, 0x35ef, 0x42d2, 0xbc, 0x7d, 0x94, 0xb6, 0x5c,
                0x4b, 0xc4, 0x9c)
