#include "webview/page_scripts.h"

#include "common/text.h"
#include "webview/embedded_page_scripts.h"

std::u16string EscapeJsString(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'\n':
        escaped += u"\\n";
        break;
      case u'\r':
        escaped += u"\\r";
        break;
      case u'"':
        escaped += u"\\\"";
        break;
      case u'\'':
        escaped += u"\\'";
        break;
      case u'<':
        escaped += u"\\x3C";
        break;
      case u'>':
        escaped += u"\\x3E";
        break;
      case u'\\':
        escaped += u"\\\\";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::u16string LoadingOverlayScript() {
  return Utf8ToUtf16(embedded_page_scripts::LoadingOverlay());
}

std::u16string PrintRedirectScript() { return Utf8ToUtf16(embedded_page_scripts::PrintRedirect()); }

std::u16string WatermarkScript(std::u16string_view watermarkText) {
  return Utf8ToUtf16(embedded_page_scripts::WatermarkHead()) + EscapeJsString(watermarkText) +
         Utf8ToUtf16(embedded_page_scripts::WatermarkTail());
}

std::u16string PrintButtonScript() { return Utf8ToUtf16(embedded_page_scripts::PrintButton()); }

std::u16string NavigationBarScript() { return Utf8ToUtf16(embedded_page_scripts::NavigationBar()); }

std::u16string PageScriptWrapper(std::u16string_view pageScript) {
  return Utf8ToUtf16(embedded_page_scripts::PageScriptWrapperHead()) + std::u16string(pageScript) +
         Utf8ToUtf16(embedded_page_scripts::PageScriptWrapperTail());
}
