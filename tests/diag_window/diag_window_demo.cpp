// Ends the way the player does when a link cannot be processed, for the window test:
//   diag_window_demo.exe [CODE]
// Without a code argument the window shows no code box. The pre-exit hook announces
// itself on standard output so the test can count its calls.
#include <cstdio>
#include <string_view>

#include "diag/diagnostic_window.h"

namespace {

void AnnounceHook() {
  std::puts("pre-exit hook");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  SetPreExitHook(AnnounceHook);
  const std::string_view code = argc > 1 ? argv[1] : "";
  ShowDiagnosticAndExit(
      u"Link Error - خطأ في الرابط",
      u"Failed to process the content link.\nIf the problem persists, send the diagnostic code "
      u"below to support.",
      u"فشل في معالجة رابط المحتوى.\nإذا استمرت المشكلة، يرجى إرسال الكود التشخيصي أدناه "
      u"للدعم الفني.",
      code);
}
