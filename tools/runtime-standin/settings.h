#pragma once
// The view's settings. Every change is logged by its property name,
// {"call":"put_AreDevToolsEnabled","value":false}; the values only answer the getters.

#include <string>
#include <string_view>

#include "tools/runtime-standin/com_object.h"

namespace standin {

class Settings final
    : public ComObject<Settings, ICoreWebView2Settings7, ICoreWebView2Settings,
                       ICoreWebView2Settings2, ICoreWebView2Settings3, ICoreWebView2Settings4,
                       ICoreWebView2Settings5, ICoreWebView2Settings6> {
 public:
  explicit Settings(std::shared_ptr<Runtime> runtime);

  HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_UserAgent(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_UserAgent(LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE get_AreBrowserAcceleratorKeysEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_AreBrowserAcceleratorKeysEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IsPasswordAutosaveEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsPasswordAutosaveEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IsGeneralAutofillEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsGeneralAutofillEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IsPinchZoomEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsPinchZoomEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_IsSwipeNavigationEnabled(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_IsSwipeNavigationEnabled(BOOL value) override;
  HRESULT STDMETHODCALLTYPE
  get_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS* value) override;
  HRESULT STDMETHODCALLTYPE
  put_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS value) override;

 private:
  HRESULT PutFlag(std::string_view property, bool& flag, BOOL value);

  // The runtime's defaults.
  bool script_ = true;
  bool web_message_ = true;
  bool default_script_dialogs_ = true;
  bool status_bar_ = true;
  bool dev_tools_ = true;
  bool default_context_menus_ = true;
  bool host_objects_ = true;
  bool zoom_control_ = true;
  bool built_in_error_page_ = true;
  std::wstring user_agent_;
  bool browser_accelerator_keys_ = true;
  bool password_autosave_ = false;
  bool general_autofill_ = true;
  bool pinch_zoom_ = true;
  bool swipe_navigation_ = true;
  COREWEBVIEW2_PDF_TOOLBAR_ITEMS hidden_pdf_toolbar_items_ = COREWEBVIEW2_PDF_TOOLBAR_ITEMS_NONE;
};

}  // namespace standin
