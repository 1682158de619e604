#include "app/browser_stopped.h"

#include "app/app_state.h"
#include "diag/diagnostic_code.h"
#include "diag/diagnostic_window.h"

void EndAfterBrowserFailure(HWND window, bool linkMode, const std::string& reason) {
  if (linkMode) {
    ShowDiagnosticAndExit(
        u"Lesson Stopped - توقف الدرس",
        u"The lesson stopped unexpectedly and could not be restored.\nIf the problem persists, "
        u"send the diagnostic code below to support.",
        u"توقف الدرس بشكل غير متوقع وتعذرت استعادته.\nإذا استمرت المشكلة، يرجى إرسال الكود "
        u"التشخيصي أدناه للدعم الفني.",
        BuildErrorDiagnosticCode(reason));
  }
  const std::wstring caption = App().identity.displayName + L" - Lesson Stopped";
  MessageBoxW(window,
              L"The lesson stopped unexpectedly and could not be restored. The application will "
              L"close. Please open it again.\nتوقف الدرس بشكل غير متوقع وتعذرت استعادته. سيتم "
              L"إغلاق البرنامج. يرجى فتحه مرة أخرى.",
              caption.c_str(), MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
  if (IsWindow(window)) DestroyWindow(window);
}
