#pragma once
// Print settings: made by the environment, passed to the view's Print.
//
// Part of webview/abi/WebView2.h, which says why the order of the methods must never
// change. Include that header rather than this one.

#include "webview/abi/webview2_types.h"

struct DECLSPEC_UUID("377f3721-c74e-48ca-8db1-df68e51d60e2") ICoreWebView2PrintSettings
    : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  get_Orientation(COREWEBVIEW2_PRINT_ORIENTATION* orientation) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Orientation(COREWEBVIEW2_PRINT_ORIENTATION orientation) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ScaleFactor(double* scaleFactor) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ScaleFactor(double scaleFactor) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PageWidth(double* pageWidth) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_PageWidth(double pageWidth) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PageHeight(double* pageHeight) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_PageHeight(double pageHeight) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MarginTop(double* marginTop) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MarginTop(double marginTop) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MarginBottom(double* marginBottom) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MarginBottom(double marginBottom) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MarginLeft(double* marginLeft) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MarginLeft(double marginLeft) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MarginRight(double* marginRight) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MarginRight(double marginRight) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ShouldPrintBackgrounds(BOOL* shouldPrintBackgrounds) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ShouldPrintBackgrounds(BOOL shouldPrintBackgrounds) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  get_ShouldPrintSelectionOnly(BOOL* shouldPrintSelectionOnly) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ShouldPrintSelectionOnly(BOOL shouldPrintSelectionOnly) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  get_ShouldPrintHeaderAndFooter(BOOL* shouldPrintHeaderAndFooter) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  put_ShouldPrintHeaderAndFooter(BOOL shouldPrintHeaderAndFooter) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HeaderTitle(LPWSTR* headerTitle) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_HeaderTitle(LPCWSTR headerTitle) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FooterUri(LPWSTR* footerUri) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_FooterUri(LPCWSTR footerUri) = 0;
};
__CRT_UUID_DECL(ICoreWebView2PrintSettings, 0x377f3721, 0xc74e, 0x48ca, 0x8d, 0xb1, 0xdf, 0x68,
                0xe5, 0x1d, 0x60, 0xe2)

struct DECLSPEC_UUID("ca7f0e1f-3484-41d1-8c1a-65cd44a63f8d") ICoreWebView2PrintSettings2
    : public ICoreWebView2PrintSettings {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_PageRanges(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_PageRanges(LPCWSTR value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PagesPerSide(INT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_PagesPerSide(INT32 value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Copies(INT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Copies(INT32 value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Collation(COREWEBVIEW2_PRINT_COLLATION* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Collation(COREWEBVIEW2_PRINT_COLLATION value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ColorMode(COREWEBVIEW2_PRINT_COLOR_MODE* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ColorMode(COREWEBVIEW2_PRINT_COLOR_MODE value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Duplex(COREWEBVIEW2_PRINT_DUPLEX* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Duplex(COREWEBVIEW2_PRINT_DUPLEX value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MediaSize(COREWEBVIEW2_PRINT_MEDIA_SIZE* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MediaSize(COREWEBVIEW2_PRINT_MEDIA_SIZE value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PrinterName(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_PrinterName(LPCWSTR value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2PrintSettings2, 0xca7f0e1f, 0x3484, 0x41d1, 0x8c, 0x1a, 0x65, 0xcd,
                0x44, 0xa6, 0x3f, 0x8d)
