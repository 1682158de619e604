// The player's entry point: the whole life of the process on one thread.
#include <windows.h>
// windows.h must come first, then the COM declarations the lean windows.h leaves out,
// which GDI+ needs.
#include <objidl.h>
// GDI+ last.
#include <gdiplus.h>

#include "app/app_state.h"
#include "app/main_windows.h"
#include "app/runtime_bootstrap.h"
#include "app/splash.h"
#include "app/startup.h"
#include "app/update_prompt.h"
#include "app/url_scheme.h"
#include "common/device_identity.h"
#include "common/wide_text.h"
#include "diag/diagnostic_code.h"
#include "diag/diagnostic_window.h"
#include "link/parse_scheme_args.h"
#include "link/platform_api.h"
#include "link/version_answers.h"
#include "link/version_check.h"
#include "net/certificate_warm_up.h"
#include "net/pin_loading.h"
#include "net/pin_store.h"

namespace {

constexpr UINT kBoxFlags = MB_TOPMOST | MB_SETFOREGROUND;

class GdiPlus {
 public:
  GdiPlus() {
    Gdiplus::GdiplusStartupInput input;
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  bool started() const { return started_; }
  void Shutdown() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
    token_ = 0;
  }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

double CurrentVersionNumber() { return RunningVersionNumber(FromWide(App().identity.version)); }

// Both version checks: false when the update prompt ends the process. The check for the
// link's domain takes the first check's answer when that domain leads to the address
// already asked, and an update the learner declined once is not offered again.
bool CheckVersion(std::u16string_view domain) {
  static VersionAnswers answers;
  const std::u16string address = VersionCheckAddress(domain);
  const std::optional<VersionInfo> known = answers.Known(address);
  const VersionInfo info = known ? *known : CheckForUpdate(CurrentVersionNumber(), domain);
  answers.Remember(address, info);
  StepLog(std::string(domain.empty() ? "Step 7B" : "Step 10B") + ": Version check done" +
          (known ? " (first answer reused)" : "") +
          ". hasUpdate=" + (info.updateAvailable ? "1" : "0"));
  return !answers.OfferOnce(info) || RunUpdatePrompt(info);
}

void LoadPins() {
  StepLog("Step 7: Initializing SSL pinning defaults");
  PinStore::Instance().Replace(DefaultPins());
  StepLog("Step 7: Loading dynamic pins synchronously");
  // The load catches its own failures and keeps the defaults; the trace still shows
  // support that the platform's list did not arrive.
  const bool loaded = LoadDynamicPins();
  StepLog(loaded ? "Step 7: Dynamic pins loaded OK" : "Step 7: Dynamic pins FAILED (exception)");
}

[[noreturn]] void ShowLinkDiagnostic(const std::string& failureReason) {
  ShowDiagnosticAndExit(
      u"Link Error - خطأ في الرابط",
      u"Failed to process the content link.\nIf the problem persists, send the diagnostic code "
      u"below to support.",
      u"فشل في معالجة رابط المحتوى.\nإذا استمرت المشكلة، يرجى إرسال الكود التشخيصي أدناه للدعم "
      u"الفني.",
      BuildErrorDiagnosticCode(failureReason));
}

// The platform refused the link: its own words, right to left; anything else ends in
// a diagnostic code for support.
int ReportLinkFailure(const std::string& failureReason) {
  // No browser will show anything now: the one started early ends before any message.
  ShellRecord().earlyEnvironment.reset();
  const std::optional<std::u16string> refusal = ServerRefusalText(failureReason);
  if (!refusal) ShowLinkDiagnostic(failureReason);
  MessageBoxW(nullptr, ToWide(*refusal).c_str(), L"Quorvel - خطأ",
              MB_ICONWARNING | kBoxFlags | MB_RIGHT | MB_RTLREADING);
  return 1;
}

// On every way out of start-up, lets go of a browser environment started early that no
// window took over: its browser ends with it.
struct EarlyEnvironmentRelease {
  EarlyEnvironmentRelease() = default;
  EarlyEnvironmentRelease(const EarlyEnvironmentRelease&) = delete;
  EarlyEnvironmentRelease& operator=(const EarlyEnvironmentRelease&) = delete;
  ~EarlyEnvironmentRelease() { ShellRecord().earlyEnvironment.reset(); }
};

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  StepLog("Step 1: Process started");
  // The first HTTPS request comes after the splash and the runtime check.
  StartCertificateWarmUp();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ShellRecord().mainThreadId = GetCurrentThreadId();
  SetPreExitHook(OnBeforeExit);
  GdiPlus gdiPlus;

  const bool startedWithCommandLine = commandLine != nullptr && commandLine[0] != 0;
  const std::wstring mutexName =
      ToWide(MakeInstanceMutexName(FromWide(App().identity.displayName), startedWithCommandLine));
  const HANDLE instanceMutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
  if (instanceMutex == nullptr) {
    CoUninitialize();
    return 1;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    MessageBoxW(nullptr, L"The application is already running.\n\nالبرنامج يعمل بالفعل.",
                App().identity.displayName.c_str(), MB_ICONINFORMATION | kBoxFlags);
    CloseHandle(instanceMutex);
    CoUninitialize();
    return 0;
  }

  if (gdiPlus.started()) {
    HWND splash = nullptr;
    try {
      splash = CreateSplash(instance, 700, 450);
    } catch (...) {
    }
    if (splash != nullptr) DrainMessages();
  }

  if (GetWindowsMajorVersion() < 10) {
    MessageBoxW(
        nullptr,
        L"This application requires Windows 10 or later.\nهذا التطبيق يتطلب ويندوز 10 أو أحدث.",
        L"Unsupported OS", MB_ICONERROR | kBoxFlags);
    return 1;
  }
  if (DeviceIdentifier().empty()) {
    CloseSplash();
    MessageBoxW(nullptr,
                L"Unable to read device information. The application will close. Please contact "
                L"support.\nتعذر قراءة بيانات الجهاز. سيتم إغلاق البرنامج. يرجى التواصل مع الدعم.",
                App().identity.displayName.c_str(), MB_ICONERROR | kBoxFlags);
    gdiPlus.Shutdown();
    CoUninitialize();
    return 1;
  }
  if (!EnsureWebView2Runtime()) return 1;
  StepLog("Step 6: Browser runtime check done");
  // The browser's environment does not depend on the link: it starts now, while the
  // network is asked, and the main window's browser takes it over. Before each of the
  // network's steps the thread's messages run, so the splash keeps painting and the
  // environment is received once it has come (the view is asked for 100 ms after that,
  // not 100 ms after its window exists).
  StartBrowserEnvironmentEarly();
  const EarlyEnvironmentRelease releaseEarlyEnvironment;
  DrainMessages();

  LoadPins();
  DrainMessages();
  StepLog("Step 7B: Checking app version...");
  if (!CheckVersion(u"")) return 0;
  DrainMessages();

  StepLog("Step 8: Registering URL protocol...");
  RegisterUrlScheme(App().identity.shortName, L"Lumora Desktop Player", GetExecutablePath());
  StepLog("Step 9: Parsing command line...");
  const SelectedLink link = SelectLinkFromCommandLine(commandLine, App().identity.shortName);
  StepLog(std::string("Step 9: hasSchemeArgs=") + (link.hasSchemeArgs ? "1" : "0"));

  if (!link.hasSchemeArgs) {
    const WindowStart start = CreateInitScreen(instance);
    if (start == WindowStart::kNoWindow) {
      MessageBoxW(nullptr, L"Failed to create the application window.", L"Quorvel - Startup Error",
                  MB_ICONERROR | kBoxFlags);
      return 1;
    }
    if (start == WindowStart::kBrowserFailed) return 1;
  } else {
    const HWND playerWindow = CreatePlayerMainWindow(instance);
    if (playerWindow != nullptr) {
      UpdateWindow(playerWindow);
      DrainMessages();
      StepLog("Step 10: Player window shown");
    }
    std::string failureReason;
    if (!ParseSchemeArgs(link.link, App().content, failureReason)) {
      return ReportLinkFailure(failureReason);
    }
    DrainMessages();
    StepLog("Step 10B: Checking app version for the link's domain...");
    if (!CheckVersion(App().content.domain)) return 0;
    const WindowStart start = CreatePlayerWindow(instance, playerWindow);
    if (start == WindowStart::kNoWindow || start == WindowStart::kBrowserFailed) return 1;
  }

  // A main window closed while its browser started has posted its quit already and is
  // gone: that is a normal end.
  const int exitCode = ShellRecord().mainWindow != nullptr ? RunMessageLoop() : 0;
  ReleaseBrowserHosts();
  SetPreExitHook(nullptr);
  gdiPlus.Shutdown();
  CloseHandle(instanceMutex);
  CoUninitialize();
  return exitCode;
}
