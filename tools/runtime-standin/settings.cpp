#include "tools/runtime-standin/settings.h"

#include <utility>

#include "tools/runtime-standin/version.h"

namespace standin {

Settings::Settings(std::shared_ptr<Runtime> runtime)
    : ComObject(std::move(runtime)),
      user_agent_(
          L"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like "
          L"Gecko) Chrome/" STANDIN_VERSION_WIDE L" Safari/537.36") {}

HRESULT Settings::PutFlag(std::string_view property, bool& flag, BOOL value) {
  flag = value != FALSE;
  runtime().log.Call("put_" + std::string(property), {{"value", flag}});
  return S_OK;
}

HRESULT Settings::get_IsScriptEnabled(BOOL* value) { return GetValue(value, script_); }
HRESULT Settings::put_IsScriptEnabled(BOOL value) {
  return PutFlag("IsScriptEnabled", script_, value);
}

HRESULT Settings::get_IsWebMessageEnabled(BOOL* value) { return GetValue(value, web_message_); }
HRESULT Settings::put_IsWebMessageEnabled(BOOL value) {
  return PutFlag("IsWebMessageEnabled", web_message_, value);
}

HRESULT Settings::get_AreDefaultScriptDialogsEnabled(BOOL* value) {
  return GetValue(value, default_script_dialogs_);
}
HRESULT Settings::put_AreDefaultScriptDialogsEnabled(BOOL value) {
  return PutFlag("AreDefaultScriptDialogsEnabled", default_script_dialogs_, value);
}

HRESULT Settings::get_IsStatusBarEnabled(BOOL* value) { return GetValue(value, status_bar_); }
HRESULT Settings::put_IsStatusBarEnabled(BOOL value) {
  return PutFlag("IsStatusBarEnabled", status_bar_, value);
}

HRESULT Settings::get_AreDevToolsEnabled(BOOL* value) { return GetValue(value, dev_tools_); }
HRESULT Settings::put_AreDevToolsEnabled(BOOL value) {
  return PutFlag("AreDevToolsEnabled", dev_tools_, value);
}

HRESULT Settings::get_AreDefaultContextMenusEnabled(BOOL* value) {
  return GetValue(value, default_context_menus_);
}
HRESULT Settings::put_AreDefaultContextMenusEnabled(BOOL value) {
  return PutFlag("AreDefaultContextMenusEnabled", default_context_menus_, value);
}

HRESULT Settings::get_AreHostObjectsAllowed(BOOL* value) { return GetValue(value, host_objects_); }
HRESULT Settings::put_AreHostObjectsAllowed(BOOL value) {
  return PutFlag("AreHostObjectsAllowed", host_objects_, value);
}

HRESULT Settings::get_IsZoomControlEnabled(BOOL* value) { return GetValue(value, zoom_control_); }
HRESULT Settings::put_IsZoomControlEnabled(BOOL value) {
  return PutFlag("IsZoomControlEnabled", zoom_control_, value);
}

HRESULT Settings::get_IsBuiltInErrorPageEnabled(BOOL* value) {
  return GetValue(value, built_in_error_page_);
}
HRESULT Settings::put_IsBuiltInErrorPageEnabled(BOOL value) {
  return PutFlag("IsBuiltInErrorPageEnabled", built_in_error_page_, value);
}

HRESULT Settings::get_UserAgent(LPWSTR* value) { return CopyOut(user_agent_, value); }
HRESULT Settings::put_UserAgent(LPCWSTR value) {
  if (value == nullptr) return E_INVALIDARG;
  user_agent_ = value;
  runtime().log.Call("put_UserAgent", {{"value", Utf8(user_agent_)}});
  return S_OK;
}

HRESULT Settings::get_AreBrowserAcceleratorKeysEnabled(BOOL* value) {
  return GetValue(value, browser_accelerator_keys_);
}
HRESULT Settings::put_AreBrowserAcceleratorKeysEnabled(BOOL value) {
  return PutFlag("AreBrowserAcceleratorKeysEnabled", browser_accelerator_keys_, value);
}

HRESULT Settings::get_IsPasswordAutosaveEnabled(BOOL* value) {
  return GetValue(value, password_autosave_);
}
HRESULT Settings::put_IsPasswordAutosaveEnabled(BOOL value) {
  return PutFlag("IsPasswordAutosaveEnabled", password_autosave_, value);
}

HRESULT Settings::get_IsGeneralAutofillEnabled(BOOL* value) {
  return GetValue(value, general_autofill_);
}
HRESULT Settings::put_IsGeneralAutofillEnabled(BOOL value) {
  return PutFlag("IsGeneralAutofillEnabled", general_autofill_, value);
}

HRESULT Settings::get_IsPinchZoomEnabled(BOOL* value) { return GetValue(value, pinch_zoom_); }
HRESULT Settings::put_IsPinchZoomEnabled(BOOL value) {
  return PutFlag("IsPinchZoomEnabled", pinch_zoom_, value);
}

HRESULT Settings::get_IsSwipeNavigationEnabled(BOOL* value) {
  return GetValue(value, swipe_navigation_);
}
HRESULT Settings::put_IsSwipeNavigationEnabled(BOOL value) {
  return PutFlag("IsSwipeNavigationEnabled", swipe_navigation_, value);
}

HRESULT Settings::get_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS* value) {
  return GetValue(value, hidden_pdf_toolbar_items_);
}
HRESULT Settings::put_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS value) {
  hidden_pdf_toolbar_items_ = value;
  runtime().log.Call("put_HiddenPdfToolbarItems", {{"value", static_cast<UINT32>(value)}});
  return S_OK;
}

}  // namespace standin
