#pragma once
// Print settings as the environment makes them. Every change is logged by its property
// name, {"call":"put_PrinterName","value":"…"}, so a test can see which settings the host
// changed.

#include <string>
#include <string_view>

#include "tools/runtime-standin/com_object.h"

namespace standin {

class PrintSettings final
    : public ComObject<PrintSettings, ICoreWebView2PrintSettings2, ICoreWebView2PrintSettings> {
 public:
  static constexpr GUID kSelfIid = {
      0x4b07e2a1, 0x61d3, 0x4c8e, {0x95, 0x0f, 0x7a, 0x2e, 0x3c, 0x84, 0xd1, 0x26}};

  explicit PrintSettings(std::shared_ptr<Runtime> runtime);

  const std::wstring& printer_name() const { return printer_name_; }
  // These settings as the parameters of the browser's Page.printToPDF.
  Json PdfOptions() const;

  HRESULT STDMETHODCALLTYPE get_Orientation(COREWEBVIEW2_PRINT_ORIENTATION* value) override;
  HRESULT STDMETHODCALLTYPE put_Orientation(COREWEBVIEW2_PRINT_ORIENTATION value) override;
  HRESULT STDMETHODCALLTYPE get_ScaleFactor(double* value) override;
  HRESULT STDMETHODCALLTYPE put_ScaleFactor(double value) override;
  HRESULT STDMETHODCALLTYPE get_PageWidth(double* value) override;
  HRESULT STDMETHODCALLTYPE put_PageWidth(double value) override;
  HRESULT STDMETHODCALLTYPE get_PageHeight(double* value) override;
  HRESULT STDMETHODCALLTYPE put_PageHeight(double value) override;
  HRESULT STDMETHODCALLTYPE get_MarginTop(double* value) override;
  HRESULT STDMETHODCALLTYPE put_MarginTop(double value) override;
  HRESULT STDMETHODCALLTYPE get_MarginBottom(double* value) override;
  HRESULT STDMETHODCALLTYPE put_MarginBottom(double value) override;
  HRESULT STDMETHODCALLTYPE get_MarginLeft(double* value) override;
  HRESULT STDMETHODCALLTYPE put_MarginLeft(double value) override;
  HRESULT STDMETHODCALLTYPE get_MarginRight(double* value) override;
  HRESULT STDMETHODCALLTYPE put_MarginRight(double value) override;
  HRESULT STDMETHODCALLTYPE get_ShouldPrintBackgrounds(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_ShouldPrintBackgrounds(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ShouldPrintSelectionOnly(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_ShouldPrintSelectionOnly(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ShouldPrintHeaderAndFooter(BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_ShouldPrintHeaderAndFooter(BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_HeaderTitle(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_HeaderTitle(LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE get_FooterUri(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_FooterUri(LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE get_PageRanges(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_PageRanges(LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE get_PagesPerSide(INT32* value) override;
  HRESULT STDMETHODCALLTYPE put_PagesPerSide(INT32 value) override;
  HRESULT STDMETHODCALLTYPE get_Copies(INT32* value) override;
  HRESULT STDMETHODCALLTYPE put_Copies(INT32 value) override;
  HRESULT STDMETHODCALLTYPE get_Collation(COREWEBVIEW2_PRINT_COLLATION* value) override;
  HRESULT STDMETHODCALLTYPE put_Collation(COREWEBVIEW2_PRINT_COLLATION value) override;
  HRESULT STDMETHODCALLTYPE get_ColorMode(COREWEBVIEW2_PRINT_COLOR_MODE* value) override;
  HRESULT STDMETHODCALLTYPE put_ColorMode(COREWEBVIEW2_PRINT_COLOR_MODE value) override;
  HRESULT STDMETHODCALLTYPE get_Duplex(COREWEBVIEW2_PRINT_DUPLEX* value) override;
  HRESULT STDMETHODCALLTYPE put_Duplex(COREWEBVIEW2_PRINT_DUPLEX value) override;
  HRESULT STDMETHODCALLTYPE get_MediaSize(COREWEBVIEW2_PRINT_MEDIA_SIZE* value) override;
  HRESULT STDMETHODCALLTYPE put_MediaSize(COREWEBVIEW2_PRINT_MEDIA_SIZE value) override;
  HRESULT STDMETHODCALLTYPE get_PrinterName(LPWSTR* value) override;
  HRESULT STDMETHODCALLTYPE put_PrinterName(LPCWSTR value) override;

 private:
  // Logs the change and stores it.
  template <class T>
  HRESULT Put(std::string_view property, T& field, T value);
  HRESULT PutText(std::string_view property, std::wstring& field, LPCWSTR value);

  // The runtime's defaults: US Letter in inches, 1 cm margins, the default printer.
  INT32 orientation_ = 0;
  double scale_factor_ = 1.0;
  double page_width_ = 8.5;
  double page_height_ = 11.0;
  double margin_top_ = 0.4;
  double margin_bottom_ = 0.4;
  double margin_left_ = 0.4;
  double margin_right_ = 0.4;
  bool backgrounds_ = false;
  bool selection_only_ = false;
  bool header_and_footer_ = false;
  std::wstring header_title_;
  std::wstring footer_uri_;
  std::wstring page_ranges_;
  INT32 pages_per_side_ = 1;
  INT32 copies_ = 1;
  INT32 collation_ = 0;
  INT32 color_mode_ = 0;
  INT32 duplex_ = 0;
  INT32 media_size_ = 0;
  std::wstring printer_name_;  // empty: the default printer
};

}  // namespace standin
