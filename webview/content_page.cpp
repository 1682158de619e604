#include "webview/content_page.h"

namespace {

constexpr std::u16string_view kWatermarkStyle =
    u"position:fixed;top:0;left:0;width:100%;height:100%;pointer-events:none;z-index:9999;"
    u"opacity:0.15;display:flex;align-items:center;justify-content:center;font-size:3vw;"
    u"color:red;transform:rotate(-30deg);font-family:Arial,sans-serif;font-weight:bold;";

}  // namespace

std::u16string EscapeHtml(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'"':
        escaped += u"&quot;";
        break;
      case u'&':
        escaped += u"&amp;";
        break;
      case u'\'':
        escaped += u"&#39;";
        break;
      case u'<':
        escaped += u"&lt;";
        break;
      case u'>':
        escaped += u"&gt;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::u16string BuildContentPage(std::u16string_view address, std::u16string_view watermarkText,
                                std::u16string_view title) {
  std::u16string page;
  page += u"<!DOCTYPE html><html><head>";
  page += u"<meta charset='utf-8'>";
  page += u"<title>";
  page += title;
  page += u"</title>";
  page += u"<style>";
  page += u"*{margin:0;padding:0;}";
  page += u"html,body{width:100%;height:100%;overflow:hidden;}";
  page += u"iframe{width:100%;height:100%;border:none;}";
  page += u"</style></head><body>";
  page += u"<iframe src='";
  page += EscapeHtml(address);
  page += u"' allowfullscreen ";
  page +=
      u"allow='accelerometer;autoplay;clipboard-write;encrypted-media;gyroscope;"
      u"picture-in-picture'>";
  page += u"</iframe>";
  page += u"<div style='";
  page += kWatermarkStyle;
  page += u"'>";
  page += EscapeHtml(watermarkText);
  page += u"</div>";
  page += u"<script>";
  page += u"window.chrome.webview.postMessage('pageLoaded');";
  page += u"</script></body></html>";
  return page;
}
