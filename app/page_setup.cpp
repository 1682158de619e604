#include "app/page_setup.h"

#include "app/app_state.h"
#include "app/splash.h"
#include "app/startup.h"
#include "app/window_modes.h"
#include "common/platform_values.h"
#include "common/text.h"
#include "common/wide_text.h"
#include "webview/content_page.h"
#include "webview/page_scripts.h"

namespace {

void AddScript(WebView::WebViewHost& host, const std::u16string& script) {
  host.AddDocumentCreatedScript(ToWide(script));
}

}  // namespace

void SetUpInitScreenPage(WebView::WebViewHost& host, bool success,
                         const WebView::ShownDocument* resume) {
  if (!success) {
    CloseSplash();
    return;
  }
  host.ApplyBrowserSettings();
  AddScript(host, PrintRedirectScript());
  AddScript(host, NavigationBarScript());
  if (resume != nullptr && host.Show(*resume)) return;
  StepLog("Step 12: First navigation");
  host.Navigate(ToWide(AsciiToUtf16(WebAppStartAddress())));
}

void SetUpPlayerPage(WebView::WebViewHost& host, HWND window, bool success,
                     const WebView::ShownDocument* resume) {
  if (!success) return;
  const ContentRequest& content = App().content;
  host.ApplyBrowserSettings();
  AddScript(host, LoadingOverlayScript());
  AddScript(host, PrintRedirectScript());
  const bool resumed = resume != nullptr;
  if (!resumed) StepLog("Step 12: First navigation");
  if (content.kind == u"url_direct") {
    if (!content.pageScript.empty()) AddScript(host, PageScriptWrapper(content.pageScript));
    if (!resumed || !host.Show(*resume)) host.Navigate(ToWide(content.url));
  } else if (content.kind == u"pdf" || content.kind == u"pdf_url") {
    AddScript(host, WatermarkScript(content.watermarkText));
    AddScript(host, PrintButtonScript());
    if (!resumed || !host.Show(*resume)) host.Navigate(ToWide(content.url));
  } else if (!resumed || !host.Show(*resume)) {
    host.NavigateToString(ToWide(BuildContentPage(content.url, content.watermarkText,
                                                  FromWide(App().identity.displayName))));
  }
  CloseSplash();
  if (resumed) return;
  RevealWindow(window);
  StepLog("Step 12: Player window revealed");
}
