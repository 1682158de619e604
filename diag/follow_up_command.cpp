#include "diag/follow_up_command.h"

namespace {

// Element content only: quotes, ampersands and angle brackets are the characters that
// could end the quoted command-line argument or be read as markup.
std::u16string AsPageText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t unit : text) {
    switch (unit) {
      case u'"':
        out += u"&quot;";
        break;
      case u'&':
        out += u"&amp;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      default:
        out.push_back(unit);
    }
  }
  return out;
}

}  // namespace

std::u16string BuildFollowUpCommandLine(std::u16string_view caption,
                                        std::u16string_view englishText,
                                        std::u16string_view arabicText, std::u16string_view code) {
  const std::u16string pageCaption = AsPageText(caption);
  std::u16string line = u"mshta \"";

  line += u"about:<html><head><title>";
  line += pageCaption;
  line += u"</title>";

  line += u"<hta:application id='diag' border='dialog' innerborder='no' scroll='no' ";
  line += u"maximizebutton='no' minimizebutton='no' sysmenu='yes' ";
  line += u"windowstate='normal' />";

  line += u"<style>";
  line += u"body{font-family:Segoe UI,Tahoma,sans-serif;background:#1a1a2e;color:#eee;";
  line += u"margin:0;padding:20px;display:flex;flex-direction:column;align-items:center;}";
  line += u".icon{font-size:48px;margin-bottom:10px;}";
  line += u"h2{color:#e94560;margin:5px 0 10px;font-size:18px;}";
  line += u"p{text-align:center;font-size:13px;line-height:1.5;margin:5px 0;color:#ccc;}";
  line += u".ar{direction:rtl;font-family:Segoe UI,Tahoma,sans-serif;}";

  line +=
      u"textarea{width:90%;height:60px;margin:10px 0;padding:8px;font-family:Consolas,monospace;";
  line += u"font-size:11px;background:#0f3460;color:#e94560;border:1px solid #e94560;";
  line += u"border-radius:4px;resize:none;text-align:center;}";
  line += u".btn{padding:8px 24px;background:#e94560;color:#fff;border:none;border-radius:4px;";
  line += u"font-size:13px;cursor:pointer;margin:5px;}";
  line += u".btn:hover{background:#c73e54;}";
  line += u".info{font-size:11px;color:#888;margin-top:8px;}";
  line += u"</style></head><body>";

  line += u"<div class='icon'>&#9888;</div>";
  line += u"<h2>";
  line += pageCaption;
  line += u"</h2>";
  line += u"<p>";
  line += AsPageText(englishText);
  line += u"</p>";
  line += u"<p class='ar'>";
  line += AsPageText(arabicText);
  line += u"</p>";

  line += u"<p style='margin-top:15px;color:#e94560;font-size:12px;'>";
  line += u"&#128274; Diagnostic Code / ";
  line += u"كود التشخيص";
  line += u"</p>";

  line += u"<textarea id='dc' readonly onclick='this.select()'>";
  line += AsPageText(code);
  line += u"</textarea>";

  line += u"<div>";
  line += u"<button class='btn' onclick='copyCode()'>&#128203; Copy Code</button>";
  line += u"<button class='btn' style='background:#555;' onclick='window.close()'>Close</button>";
  line += u"</div>";

  line += u"<p class='info'>The code has been copied to your clipboard automatically.</p>";
  line += u"<p class='info'>Please send this code to support for assistance.</p>";

  line += u"<p class='info ar'>";
  line += u"تم نسخ الكود ";
  line += u"تلقائياً. ";
  line += u"يرجى إرساله ";
  line += u"للدعم الفني.";
  line += u"</p>";

  line += u"<script>";
  line += u"function copyCode(){var t=document.getElementById('dc');";
  line += u"t.select();document.execCommand('copy');}";
  line += u"window.resizeTo(700,580);window.moveTo(";
  line += u"(screen.width-700)/2,(screen.height-580)/2);";
  line += u"</script></body></html>";

  line += u'"';
  return line;
}

std::u16string FollowUpFallbackText(std::u16string_view englishText, std::u16string_view arabicText,
                                    std::u16string_view code) {
  std::u16string text(englishText);
  text += u"\n\n";
  text += arabicText;
  text += u"\n\nDiagnostic Code:\n";
  text += code;
  return text;
}
