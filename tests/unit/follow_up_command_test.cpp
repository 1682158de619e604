#include "diag/follow_up_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr std::u16string_view kCaption = u"Link Error - خطأ في الرابط";
constexpr std::u16string_view kEnglish =
    u"Failed to process the content link.\nIf the problem persists, send the diagnostic code "
    u"below to support.";
constexpr std::u16string_view kArabic =
    u"فشل في معالجة رابط المحتوى.\nإذا استمرت المشكلة، يرجى إرسال الكود التشخيصي أدناه "
    u"للدعم الفني.";
constexpr std::u16string_view kCode = u"DmF6WEBgCUQ9MG8TIxUqRwhnTA==";

// The whole page as one template, with the four texts marked where they go.
std::u16string ExpectedCommandLine(std::u16string_view caption, std::u16string_view english,
                                   std::u16string_view arabic, std::u16string_view code) {
  std::u16string line =
      u"mshta \"about:<html><head><title>{C}</title>"
      u"<hta:application id='diag' border='dialog' innerborder='no' scroll='no' "
      u"maximizebutton='no' minimizebutton='no' sysmenu='yes' windowstate='normal' />"
      u"<style>body{font-family:Segoe UI,Tahoma,sans-serif;background:#1a1a2e;color:#eee;"
      u"margin:0;padding:20px;display:flex;flex-direction:column;align-items:center;}"
      u".icon{font-size:48px;margin-bottom:10px;}h2{color:#e94560;margin:5px 0 10px;font-size:"
      u"18px;}p{text-align:center;font-size:13px;line-height:1.5;margin:5px 0;color:#ccc;}"
      u".ar{direction:rtl;font-family:Segoe UI,Tahoma,sans-serif;}"
      u"textarea{width:90%;height:60px;margin:10px 0;padding:8px;font-family:Consolas,monospace;"
      u"font-size:11px;background:#0f3460;color:#e94560;border:1px solid #e94560;"
      u"border-radius:4px;resize:none;text-align:center;}"
      u".btn{padding:8px 24px;background:#e94560;color:#fff;border:none;border-radius:4px;"
      u"font-size:13px;cursor:pointer;margin:5px;}.btn:hover{background:#c73e54;}"
      u".info{font-size:11px;color:#888;margin-top:8px;}</style></head><body>"
      u"<div class='icon'>&#9888;</div><h2>{C}</h2><p>{E}</p><p class='ar'>{A}</p>"
      u"<p style='margin-top:15px;color:#e94560;font-size:12px;'>&#128274; Diagnostic Code / "
      u"كود التشخيص</p>"
      u"<textarea id='dc' readonly onclick='this.select()'>{D}</textarea>"
      u"<div><button class='btn' onclick='copyCode()'>&#128203; Copy Code</button>"
      u"<button class='btn' style='background:#555;' onclick='window.close()'>Close</button>"
      u"</div>"
      u"<p class='info'>The code has been copied to your clipboard automatically.</p>"
      u"<p class='info'>Please send this code to support for assistance.</p>"
      u"<p class='info ar'>تم نسخ الكود تلقائياً. يرجى إرساله للدعم الفني.</p>"
      u"<script>function copyCode(){var t=document.getElementById('dc');"
      u"t.select();document.execCommand('copy');}window.resizeTo(700,580);window.moveTo("
      u"(screen.width-700)/2,(screen.height-580)/2);</script></body></html>\"";
  const std::pair<std::u16string_view, std::u16string_view> slots[] = {
      {u"{C}", caption}, {u"{E}", english}, {u"{A}", arabic}, {u"{D}", code}};
  for (const auto& [mark, text] : slots) {
    for (std::size_t at = line.find(mark); at != std::u16string::npos;
         at = line.find(mark, at + text.size())) {
      line.replace(at, mark.size(), text);
    }
  }
  return line;
}

TEST(BuildFollowUpCommandLine, WritesThePageAsOneQuotedArgument) {
  EXPECT_EQ(BuildFollowUpCommandLine(kCaption, kEnglish, kArabic, kCode),
            ExpectedCommandLine(kCaption, kEnglish, kArabic, kCode));

  // Without a code the box stays empty; nothing else changes.
  const std::u16string empty = BuildFollowUpCommandLine(kCaption, kEnglish, kArabic, u"");
  EXPECT_EQ(empty, ExpectedCommandLine(kCaption, kEnglish, kArabic, u""));
  EXPECT_NE(empty.find(u"onclick='this.select()'></textarea>"), std::u16string::npos);

  // The pin-failure texts carry apostrophes, which element content takes as they are.
  const std::u16string_view pinEnglish =
      u"Please disable 'HTTPS Scanning' or 'Web Shield' in your antivirus settings.";
  EXPECT_EQ(BuildFollowUpCommandLine(kCaption, pinEnglish, kArabic, u"SSL_api.example.com"),
            ExpectedCommandLine(kCaption, pinEnglish, kArabic, u"SSL_api.example.com"));
}

TEST(BuildFollowUpCommandLine, QuotesAndMarkupInTextsCannotEndTheArgument) {
  const std::u16string line =
      BuildFollowUpCommandLine(u"a\"b", u"<script>x</script>", u"1 & 2", u"MITM_PIN_\"><b>");
  EXPECT_EQ(std::count(line.begin(), line.end(), u'"'), 2);
  EXPECT_TRUE(line.starts_with(u"mshta \"about:"));
  EXPECT_TRUE(line.ends_with(u"</html>\""));
  EXPECT_EQ(line, ExpectedCommandLine(u"a&quot;b", u"&lt;script&gt;x&lt;/script&gt;", u"1 &amp; 2",
                                      u"MITM_PIN_&quot;&gt;&lt;b&gt;"));
}

TEST(FollowUpFallbackText, CarriesBothMessagesAndTheCode) {
  EXPECT_EQ(FollowUpFallbackText(u"Failed.", u"فشل.", u"ABC="),
            u"Failed.\n\nفشل.\n\nDiagnostic Code:\nABC=");
  EXPECT_EQ(FollowUpFallbackText(u"Failed.", u"فشل.", u""),
            u"Failed.\n\nفشل.\n\nDiagnostic Code:\n");
}

}  // namespace
