#include "tools/runtime-standin/print.h"

#include <utility>

#include "tools/runtime-standin/webview.h"

namespace standin {

PrintSettings::PrintSettings(std::shared_ptr<Runtime> runtime) : ComObject(std::move(runtime)) {}

template <class T>
HRESULT PrintSettings::Put(std::string_view property, T& field, T value) {
  field = value;
  runtime().log.Call("put_" + std::string(property), {{"value", value}});
  return S_OK;
}

HRESULT PrintSettings::PutText(std::string_view property, std::wstring& field, LPCWSTR value) {
  if (value == nullptr) return E_INVALIDARG;
  field = value;
  runtime().log.Call("put_" + std::string(property), {{"value", Utf8(field)}});
  return S_OK;
}

HRESULT PrintSettings::get_Orientation(COREWEBVIEW2_PRINT_ORIENTATION* value) {
  return GetValue(value, static_cast<COREWEBVIEW2_PRINT_ORIENTATION>(orientation_));
}
HRESULT PrintSettings::put_Orientation(COREWEBVIEW2_PRINT_ORIENTATION value) {
  return Put("Orientation", orientation_, static_cast<INT32>(value));
}

HRESULT PrintSettings::get_ScaleFactor(double* value) { return GetValue(value, scale_factor_); }
HRESULT PrintSettings::put_ScaleFactor(double value) {
  if (value < 0.1 || value > 2.0) return E_INVALIDARG;  // the runtime's range
  return Put("ScaleFactor", scale_factor_, value);
}

HRESULT PrintSettings::get_PageWidth(double* value) { return GetValue(value, page_width_); }
HRESULT PrintSettings::put_PageWidth(double value) {
  if (value <= 0) return E_INVALIDARG;
  return Put("PageWidth", page_width_, value);
}

HRESULT PrintSettings::get_PageHeight(double* value) { return GetValue(value, page_height_); }
HRESULT PrintSettings::put_PageHeight(double value) {
  if (value <= 0) return E_INVALIDARG;
  return Put("PageHeight", page_height_, value);
}

HRESULT PrintSettings::get_MarginTop(double* value) { return GetValue(value, margin_top_); }
HRESULT PrintSettings::put_MarginTop(double value) {
  if (value < 0) return E_INVALIDARG;
  return Put("MarginTop", margin_top_, value);
}

HRESULT PrintSettings::get_MarginBottom(double* value) { return GetValue(value, margin_bottom_); }
HRESULT PrintSettings::put_MarginBottom(double value) {
  if (value < 0) return E_INVALIDARG;
  return Put("MarginBottom", margin_bottom_, value);
}

HRESULT PrintSettings::get_MarginLeft(double* value) { return GetValue(value, margin_left_); }
HRESULT PrintSettings::put_MarginLeft(double value) {
  if (value < 0) return E_INVALIDARG;
  return Put("MarginLeft", margin_left_, value);
}

HRESULT PrintSettings::get_MarginRight(double* value) { return GetValue(value, margin_right_); }
HRESULT PrintSettings::put_MarginRight(double value) {
  if (value < 0) return E_INVALIDARG;
  return Put("MarginRight", margin_right_, value);
}

HRESULT PrintSettings::get_ShouldPrintBackgrounds(BOOL* value) {
  return GetValue(value, backgrounds_);
}
HRESULT PrintSettings::put_ShouldPrintBackgrounds(BOOL value) {
  return Put("ShouldPrintBackgrounds", backgrounds_, value != FALSE);
}

HRESULT PrintSettings::get_ShouldPrintSelectionOnly(BOOL* value) {
  return GetValue(value, selection_only_);
}
HRESULT PrintSettings::put_ShouldPrintSelectionOnly(BOOL value) {
  return Put("ShouldPrintSelectionOnly", selection_only_, value != FALSE);
}

HRESULT PrintSettings::get_ShouldPrintHeaderAndFooter(BOOL* value) {
  return GetValue(value, header_and_footer_);
}
HRESULT PrintSettings::put_ShouldPrintHeaderAndFooter(BOOL value) {
  return Put("ShouldPrintHeaderAndFooter", header_and_footer_, value != FALSE);
}

HRESULT PrintSettings::get_HeaderTitle(LPWSTR* value) { return CopyOut(header_title_, value); }
HRESULT PrintSettings::put_HeaderTitle(LPCWSTR value) {
  return PutText("HeaderTitle", header_title_, value);
}

HRESULT PrintSettings::get_FooterUri(LPWSTR* value) { return CopyOut(footer_uri_, value); }
HRESULT PrintSettings::put_FooterUri(LPCWSTR value) {
  return PutText("FooterUri", footer_uri_, value);
}

HRESULT PrintSettings::get_PageRanges(LPWSTR* value) { return CopyOut(page_ranges_, value); }
HRESULT PrintSettings::put_PageRanges(LPCWSTR value) {
  return PutText("PageRanges", page_ranges_, value);
}

HRESULT PrintSettings::get_PagesPerSide(INT32* value) { return GetValue(value, pages_per_side_); }
HRESULT PrintSettings::put_PagesPerSide(INT32 value) {
  if (value != 1 && value != 2 && value != 4 && value != 6 && value != 9 && value != 16) {
    return E_INVALIDARG;
  }
  return Put("PagesPerSide", pages_per_side_, value);
}

HRESULT PrintSettings::get_Copies(INT32* value) { return GetValue(value, copies_); }
HRESULT PrintSettings::put_Copies(INT32 value) {
  if (value < 1) return E_INVALIDARG;
  return Put("Copies", copies_, value);
}

HRESULT PrintSettings::get_Collation(COREWEBVIEW2_PRINT_COLLATION* value) {
  return GetValue(value, static_cast<COREWEBVIEW2_PRINT_COLLATION>(collation_));
}
HRESULT PrintSettings::put_Collation(COREWEBVIEW2_PRINT_COLLATION value) {
  return Put("Collation", collation_, static_cast<INT32>(value));
}

HRESULT PrintSettings::get_ColorMode(COREWEBVIEW2_PRINT_COLOR_MODE* value) {
  return GetValue(value, static_cast<COREWEBVIEW2_PRINT_COLOR_MODE>(color_mode_));
}
HRESULT PrintSettings::put_ColorMode(COREWEBVIEW2_PRINT_COLOR_MODE value) {
  return Put("ColorMode", color_mode_, static_cast<INT32>(value));
}

HRESULT PrintSettings::get_Duplex(COREWEBVIEW2_PRINT_DUPLEX* value) {
  return GetValue(value, static_cast<COREWEBVIEW2_PRINT_DUPLEX>(duplex_));
}
HRESULT PrintSettings::put_Duplex(COREWEBVIEW2_PRINT_DUPLEX value) {
  return Put("Duplex", duplex_, static_cast<INT32>(value));
}

HRESULT PrintSettings::get_MediaSize(COREWEBVIEW2_PRINT_MEDIA_SIZE* value) {
  return GetValue(value, static_cast<COREWEBVIEW2_PRINT_MEDIA_SIZE>(media_size_));
}
HRESULT PrintSettings::put_MediaSize(COREWEBVIEW2_PRINT_MEDIA_SIZE value) {
  return Put("MediaSize", media_size_, static_cast<INT32>(value));
}

HRESULT PrintSettings::get_PrinterName(LPWSTR* value) { return CopyOut(printer_name_, value); }
HRESULT PrintSettings::put_PrinterName(LPCWSTR value) {
  return PutText("PrinterName", printer_name_, value);
}

Json PrintSettings::PdfOptions() const {
  // Orientation 1 is landscape (the ABI headers only forward-declare the enumeration).
  Json options = {{"landscape", orientation_ == 1},  {"displayHeaderFooter", header_and_footer_},
                  {"printBackground", backgrounds_}, {"scale", scale_factor_},
                  {"paperWidth", page_width_},       {"paperHeight", page_height_},
                  {"marginTop", margin_top_},        {"marginBottom", margin_bottom_},
                  {"marginLeft", margin_left_},      {"marginRight", margin_right_}};
  if (!page_ranges_.empty()) options["pageRanges"] = Utf8(page_ranges_);
  return options;
}

// Printing: the job is "sent" at once and completes in a later turn of the message loop
// with the outcome the script queued ({"do":"printResult"}), success when none is queued.
// Logged as {"call":"Print","printerName":…} (null: the default printer), then
// {"event":"PrintCompleted","hr":"0x…","status":N}.
HRESULT WebView::Print(ICoreWebView2PrintSettings* settings,
                       ICoreWebView2PrintCompletedHandler* handler) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  ComPtr<PrintSettings> own = OwnObject<PrintSettings>(settings);
  if (settings != nullptr && own == nullptr) return E_INVALIDARG;  // not this runtime's
  runtime().log.Call("Print", {{"printerName", own != nullptr && !own->printer_name().empty()
                                                   ? Json(Utf8(own->printer_name()))
                                                   : Json(nullptr)}});
  PrintOutcome outcome;
  if (!print_outcomes_.empty()) {
    outcome = print_outcomes_.front();
    print_outcomes_.pop_front();
  }
  ComPtr<WebView> self(this);
  ComPtr<ICoreWebView2PrintCompletedHandler> completed(handler);
  if (engine_ != nullptr) {
    // The browser prints to a PDF file instead of a printer; the script's outcome, if one
    // was queued, is still what the host is told, unless printing itself failed.
    const Json options =
        own != nullptr ? own->PdfOptions() : Make<PrintSettings>(shared_runtime())->PdfOptions();
    engine_->PrintToPdf(
        options, [self, completed, outcome](HRESULT code, const std::wstring& file) {
          if (self->closed_) return;
          PrintOutcome told = outcome;
          if (FAILED(code)) told = {code, COREWEBVIEW2_PRINT_STATUS_OTHER_ERROR};
          if (completed != nullptr) completed->Invoke(told.code, told.status);
          Json members = {{"hr", HexCode(told.code)}, {"status", static_cast<int>(told.status)}};
          if (!file.empty()) members["file"] = Utf8(file);
          self->runtime().log.Event("PrintCompleted", members);
        });
    return S_OK;
  }
  dispatcher_->Post([self, completed, outcome] {
    if (self->closed_) return;
    if (completed != nullptr) completed->Invoke(outcome.code, outcome.status);
    self->runtime().log.Event("PrintCompleted", {{"hr", HexCode(outcome.code)},
                                                 {"status", static_cast<int>(outcome.status)}});
  });
  return S_OK;
}

HRESULT WebView::ShowPrintUI(COREWEBVIEW2_PRINT_DIALOG_KIND kind) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("ShowPrintUI", {{"kind", static_cast<int>(kind)}});
  return S_OK;
}

// Both need completion handlers the ABI headers only forward-declare.
HRESULT WebView::PrintToPdf(LPCWSTR, ICoreWebView2PrintSettings*,
                            ICoreWebView2PrintToPdfCompletedHandler*) {
  return E_NOTIMPL;
}

HRESULT WebView::PrintToPdfStream(ICoreWebView2PrintSettings*,
                                  ICoreWebView2PrintToPdfStreamCompletedHandler*) {
  return E_NOTIMPL;
}

void WebView::QueuePrintOutcome(HRESULT code, COREWEBVIEW2_PRINT_STATUS status) {
  print_outcomes_.push_back({code, status});
}

}  // namespace standin
