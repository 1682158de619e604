#include "webview/page_scripts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/text.h"

namespace {

TEST(EscapeJsString, EscapesWhatCouldEndTheStringOrTheScript) {
  EXPECT_EQ(EscapeJsString(u"a\nb\rc"), u"a\\nb\\rc");
  EXPECT_EQ(EscapeJsString(u"it's \"so\""), u"it\\'s \\\"so\\\"");
  EXPECT_EQ(EscapeJsString(u"C:\\path\\"), u"C:\\\\path\\\\");
  EXPECT_EQ(EscapeJsString(u"</script>"), u"\\x3C/script\\x3E");
  // Escaping is not undone by a second pass: the backslashes it wrote are doubled.
  EXPECT_EQ(EscapeJsString(u"\\n"), u"\\\\n");
  const std::u16string untouched = u"\u0645\u0627\u062F\u0629 & `${x}` \t\u2028 \U0001F600";
  EXPECT_EQ(EscapeJsString(untouched), untouched);
  EXPECT_EQ(EscapeJsString(u""), u"");
}

// A script file's text as the program must carry it: UTF-8 decoded, less its final
// line feed.
std::u16string ScriptFile(const std::string& name) {
  std::ifstream file(std::string(QUORVEL_PAGE_SCRIPTS_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(file) << name;
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return Utf8ToUtf16(text);
}

TEST(PageScripts, AreTheFilesAsWritten) {
  EXPECT_EQ(LoadingOverlayScript(), ScriptFile("loading_overlay.js"));
  EXPECT_EQ(PrintRedirectScript(), ScriptFile("print_redirect.js"));
  EXPECT_EQ(PrintButtonScript(), ScriptFile("print_button.js"));
  EXPECT_EQ(NavigationBarScript(), ScriptFile("navigation_bar.js"));
  // Non-ASCII text survives the embedding.
  EXPECT_NE(LoadingOverlayScript().find(u"\u062C\u0627\u0631\u064A \u0627\u0644\u062A\u062D"
                                        u"\u0645\u064A\u0644... Loading..."),
            std::u16string::npos);
  EXPECT_NE(NavigationBarScript().find(u"\U0001F3E0"), std::u16string::npos);
}

TEST(PageScripts, WatermarkTextSitsEscapedBetweenTheTwoParts) {
  const std::u16string head = ScriptFile("watermark_head.js");
  const std::u16string tail = ScriptFile("watermark_tail.js");
  // The parts open and close the string literal the text goes into.
  ASSERT_TRUE(head.ends_with(u"'"));
  ASSERT_TRUE(tail.starts_with(u"'"));
  const std::u16string text = u"Ali's\\copy\n</script>";
  EXPECT_EQ(WatermarkScript(text), head + EscapeJsString(text) + tail);
  EXPECT_EQ(WatermarkScript(u""), head + tail);
}

TEST(PageScripts, PageScriptRunsOnceTheDocumentIsParsed) {
  EXPECT_EQ(PageScriptWrapper(u"go();"),
            u"(function(){function run(){go();}if(document.readyState==='loading'){"
            u"document.addEventListener('DOMContentLoaded',run);}else{run();}})();");
}

}  // namespace
