// The print job: the page the browser shows goes to the printer the user picks in the
// player's own dialog. Every outcome reaches the page as exactly one "printResult"
// message.
#include <memory>

#include "print/printer_dialog.h"
#include "webview/com_helpers.h"
#include "webview/webview_host.h"

namespace WebView {

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kCancelled[] = LR"({"type":"printResult","status":"cancelled"})";
constexpr wchar_t kNoPrintEnvironment[] =
    LR"({"type":"printResult","status":"error","message":"Failed to create print environment"})";
constexpr wchar_t kNoPrintSettings[] =
    LR"({"type":"printResult","status":"error","message":"Failed to create print settings"})";
constexpr wchar_t kNoPrinterName[] =
    LR"({"type":"printResult","status":"error","message":"Failed to set printer name"})";
constexpr wchar_t kNoPrintApi[] =
    LR"({"type":"printResult","status":"error","message":"Print API not available"})";
constexpr wchar_t kPrintFailed[] =
    LR"({"type":"printResult","status":"error","message":"Print failed. Please check your printer."})";
constexpr wchar_t kPrinterUnavailable[] =
    LR"({"type":"printResult","status":"error","message":"The selected printer is unavailable."})";
constexpr wchar_t kPrinted[] =
    LR"({"type":"printResult","status":"success","message":"Print job sent successfully."})";
constexpr wchar_t kUnknownFailure[] =
    LR"({"type":"printResult","status":"error","message":"Print failed with unknown error."})";

const wchar_t* OutcomeText(HRESULT errorCode, COREWEBVIEW2_PRINT_STATUS status) {
  if (FAILED(errorCode)) return kPrintFailed;
  switch (status) {
    case COREWEBVIEW2_PRINT_STATUS_SUCCEEDED:
      return kPrinted;
    case COREWEBVIEW2_PRINT_STATUS_PRINTER_UNAVAILABLE:
      return kPrinterUnavailable;
    default:
      return kUnknownFailure;
  }
}

// The page is told; whether the message arrives changes nothing here.
void Tell(ICoreWebView2* view, const wchar_t* json) { view->PostWebMessageAsJson(json); }

}  // namespace

void WebViewHost::ShowSystemPrintDialog() {
  // The dialog's loop runs the page's messages too: a second request while it is open
  // is ignored, so one print runs at a time.
  if (!webView_ || printDialogOpen_) return;
  Frame frame(*this);
  printDialogOpen_ = true;
  const std::wstring printer = SelectPrinter(parentWindow_, [&frame](HWND dialog) {
    frame.StopOnRelease([dialog] { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
  });
  printDialogOpen_ = false;
  // Released while the dialog was open (or shut down): the page goes with its host, so
  // nothing is printed and nobody is told.
  if (releasing_ || !webView_) return;
  if (printer.empty()) return Tell(webView_.Get(), kCancelled);

  ComPtr<ICoreWebView2Environment6> environment6;
  if (!environment_ || FAILED(environment_.As(&environment6)) || !environment6) {
    return Tell(webView_.Get(), kNoPrintEnvironment);
  }
  ComPtr<ICoreWebView2PrintSettings> settings;
  if (FAILED(environment6->CreatePrintSettings(&settings)) || !settings) {
    return Tell(webView_.Get(), kNoPrintSettings);
  }
  // Only the printer is chosen here; everything else keeps the browser's defaults.
  // Printing anyway after a refused name would print on another printer.
  ComPtr<ICoreWebView2PrintSettings2> settings2;
  if (FAILED(settings.As(&settings2)) || !settings2 ||
      FAILED(settings2->put_PrinterName(printer.c_str()))) {
    return Tell(webView_.Get(), kNoPrinterName);
  }
  ComPtr<ICoreWebView2_16> view16;
  if (FAILED(webView_.As(&view16)) || !view16) return Tell(webView_.Get(), kNoPrintApi);

  // The handler keeps the view alive until the outcome is posted, whatever becomes of
  // the host. A job the browser refuses at once is never completed, so that failure is
  // told here, once.
  auto told = std::make_shared<bool>(false);
  const ComPtr<ICoreWebView2> view = webView_;
  auto completed = MakeCallback<ICoreWebView2PrintCompletedHandler>(
      [view, told](HRESULT errorCode, COREWEBVIEW2_PRINT_STATUS status) {
        if (!*told) {
          *told = true;
          Tell(view.Get(), OutcomeText(errorCode, status));
        }
        return S_OK;
      });
  if (FAILED(view16->Print(settings.Get(), completed.Get())) && !*told) {
    *told = true;
    Tell(view.Get(), kPrintFailed);
  }
}

}  // namespace WebView
