// Prints a page script or a built content page exactly as the program makes it, as
// UTF-8 on standard output, so the browser tests run the program's own texts.
//
//   quorvel_page_texts overlay | print-redirect | print-button | nav-bar
//   quorvel_page_texts watermark TEXT
//   quorvel_page_texts page-script SCRIPT
//   quorvel_page_texts content-page ADDRESS WATERMARK TITLE

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "webview/content_page.h"
#include "webview/page_scripts.h"

namespace {

bool Build(const std::vector<std::u16string>& args, std::u16string& text) {
  if (args.empty()) return false;
  const std::u16string& what = args[0];
  if (args.size() == 1 && what == u"overlay") {
    text = LoadingOverlayScript();
  } else if (args.size() == 1 && what == u"print-redirect") {
    text = PrintRedirectScript();
  } else if (args.size() == 1 && what == u"print-button") {
    text = PrintButtonScript();
  } else if (args.size() == 1 && what == u"nav-bar") {
    text = NavigationBarScript();
  } else if (args.size() == 2 && what == u"watermark") {
    text = WatermarkScript(args[1]);
  } else if (args.size() == 2 && what == u"page-script") {
    text = PageScriptWrapper(args[1]);
  } else if (args.size() == 4 && what == u"content-page") {
    text = BuildContentPage(args[1], args[2], args[3]);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8ToUtf16(argv[i]));
  std::u16string text;
  if (!Build(args, text)) {
    std::fputs(
        "usage: quorvel_page_texts overlay|print-redirect|print-button|nav-bar\n"
        "       quorvel_page_texts watermark TEXT | page-script SCRIPT\n"
        "       quorvel_page_texts content-page ADDRESS WATERMARK TITLE\n",
        stderr);
    return 2;
  }
  const std::string utf8 = Utf16ToUtf8(text);
  return std::fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size() ? 0 : 1;
}
