#include "webview/string_document.h"

#include <gtest/gtest.h>

#include "common/base64.h"
#include "common/text.h"
#include "link/percent.h"

namespace {

constexpr std::u16string_view kHtml = u"<p title='x'>Lesson \u00e9 \u0634</p>";

std::u16string Base64Of(std::u16string_view html) {
  return AsciiToUtf16(Base64Encode(Utf16ToUtf8(html)));
}

TEST(IsStringDocumentAddress, ExactlyTheTextInEitherEncoding) {
  const std::u16string base64 = Base64Of(kHtml);
  const std::u16string percent = AsciiToUtf16(PercentEncodeUnreserved(Utf16ToUtf8(kHtml)));
  struct Case {
    std::u16string address;
    bool own;
  };
  const Case cases[] = {
      {u"data:text/html;charset=utf-8;base64," + base64, true},
      {u"DATA:Text/HTML;Charset=UTF-8;BASE64," + base64, true},
      {u"data:text/html;base64," + base64, true},
      {u"data:text/html," + percent, true},
      {u"data:text/html;charset=utf-8," + percent, true},
      // Another document, another type or encoding, or a broken address.
      {u"data:text/html;charset=utf-8;base64," + Base64Of(u"<p>Lesson</p>"), false},
      {u"data:text/html;charset=utf-8;base64," + base64 + u"#x", false},
      {u"data:text/plain;charset=utf-8;base64," + base64, false},
      {u"data:image/svg+xml;base64," + base64, false},
      {u"data:text/html;charset=utf-16;base64," + base64, false},
      {u"data:text/html;charset=utf-8;base64" + base64, false},
      {u"data:text/html;charset=utf-8;base64,!" + base64, false},
      {u"about:blank", false},
      {u"https://127.0.0.1/", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsStringDocumentAddress(c.address, kHtml), c.own) << Utf16ToUtf8(c.address);
  }
}

}  // namespace
