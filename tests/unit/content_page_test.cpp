#include "webview/content_page.h"

#include <gtest/gtest.h>

namespace {

TEST(EscapeHtml, ReplacesTheFiveMarkupCharactersOnly) {
  EXPECT_EQ(EscapeHtml(u"\"&'<>"), u"&quot;&amp;&#39;&lt;&gt;");
  EXPECT_EQ(EscapeHtml(u"a &amp; b"), u"a &amp;amp; b");  // already escaped text is escaped again
  EXPECT_EQ(EscapeHtml(u"</div><script>"), u"&lt;/div&gt;&lt;script&gt;");
  const std::u16string untouched = u"\u0645\u0627\u062F\u0629 \U0001F600 `=/\\;\n\t";
  EXPECT_EQ(EscapeHtml(untouched), untouched);
  EXPECT_EQ(EscapeHtml(u""), u"");
}

// The document written out piece by piece, with the three inserted texts as they must
// appear in it.
std::u16string ExpectedDocument(std::u16string_view sourceAttribute,
                                std::u16string_view watermarkContent, std::u16string_view title) {
  std::u16string document;
  for (const std::u16string_view piece : {
           std::u16string_view(u"<!DOCTYPE html><html><head>"),
           std::u16string_view(u"<meta charset='utf-8'>"),
           std::u16string_view(u"<title>"),
           title,
           std::u16string_view(u"</title>"),
           std::u16string_view(u"<style>"),
           std::u16string_view(u"*{margin:0;padding:0;}"),
           std::u16string_view(u"html,body{width:100%;height:100%;overflow:hidden;}"),
           std::u16string_view(u"iframe{width:100%;height:100%;border:none;}"),
           std::u16string_view(u"</style></head><body>"),
           std::u16string_view(u"<iframe src='"),
           sourceAttribute,
           std::u16string_view(u"' allowfullscreen "),
           std::u16string_view(u"allow='accelerometer;autoplay;clipboard-write;encrypted-media;"
                               u"gyroscope;picture-in-picture'>"),
           std::u16string_view(u"</iframe>"),
           std::u16string_view(u"<div style='"),
           std::u16string_view(
               u"position:fixed;top:0;left:0;width:100%;height:100%;pointer-events:none;"
               u"z-index:9999;opacity:0.15;display:flex;align-items:center;"
               u"justify-content:center;font-size:3vw;color:red;transform:rotate(-30deg);"
               u"font-family:Arial,sans-serif;font-weight:bold;"),
           std::u16string_view(u"'>"),
           watermarkContent,
           std::u16string_view(u"</div>"),
           std::u16string_view(u"<script>"),
           std::u16string_view(u"window.chrome.webview.postMessage('pageLoaded');"),
           std::u16string_view(u"</script></body></html>"),
       }) {
    document += piece;
  }
  return document;
}

TEST(BuildContentPage, WritesTheDocumentPieceByPiece) {
  EXPECT_EQ(
      BuildContentPage(u"https://lessons.example/unit/3?part=2", u"Learner 1042", u"Quorvel"),
      ExpectedDocument(u"https://lessons.example/unit/3?part=2", u"Learner 1042", u"Quorvel"));
  // Empty inputs leave the fixed pieces alone: an empty frame source and an empty layer.
  const std::u16string empty = BuildContentPage(u"", u"", u"");
  EXPECT_EQ(empty, ExpectedDocument(u"", u"", u""));
  EXPECT_EQ(empty.find(u'\n'), std::u16string::npos);
}

TEST(BuildContentPage, EscapesWatermarkAndAddressButNotTheTitle) {
  const std::u16string watermark = u"Ali's <b>copy</b> & \"\u0645\u0627\u062F\u0629\"";
  EXPECT_EQ(BuildContentPage(u"https://cdn.example/a?x=1&y=2", watermark, u"Q & A <1>"),
            ExpectedDocument(u"https://cdn.example/a?x=1&amp;y=2",
                             u"Ali&#39;s &lt;b&gt;copy&lt;/b&gt; &amp; "
                             u"&quot;\u0645\u0627\u062F\u0629&quot;",
                             u"Q & A <1>"));
}

TEST(BuildContentPage, AnApostropheInTheAddressStaysInsideTheFrameSource) {
  // Legal in a path; unescaped it would end the attribute and let the rest become markup.
  EXPECT_EQ(BuildContentPage(u"https://cdn.example/it's/x.html", u"w", u"t"),
            ExpectedDocument(u"https://cdn.example/it&#39;s/x.html", u"w", u"t"));
  const std::u16string hostile =
      BuildContentPage(u"https://x.example/'><script>alert(1)</script>", u"w", u"t");
  EXPECT_EQ(hostile, ExpectedDocument(u"https://x.example/&#39;&gt;&lt;script&gt;alert(1)&lt;/"
                                      u"script&gt;",
                                      u"w", u"t"));
}

}  // namespace
