// The print job as the page meets it: the page asks to print, the user works the printer
// dialog, and the page gets one result message. The browser is the runtime stand-in;
// its log shows what the host asked of it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "print/printer_list.h"
#include "tests/print_job/dialog_driver.h"
#include "tests/print_job/test_printers.h"
#include "webview/webview_host.h"

namespace {

using Json = nlohmann::json;

const std::string kCancelled = R"({"type":"printResult","status":"cancelled"})";
const std::string kPrinted =
    R"({"type":"printResult","status":"success","message":"Print job sent successfully."})";
const std::string kUnavailable =
    R"({"type":"printResult","status":"error","message":"The selected printer is unavailable."})";
const std::string kUnknown =
    R"({"type":"printResult","status":"error","message":"Print failed with unknown error."})";
const std::string kFailed =
    R"({"type":"printResult","status":"error","message":"Print failed. Please check your printer."})";
const std::string kNoEnvironment =
    R"({"type":"printResult","status":"error","message":"Failed to create print environment"})";
const std::string kNoSettings =
    R"({"type":"printResult","status":"error","message":"Failed to create print settings"})";
const std::string kNoPrinterName =
    R"({"type":"printResult","status":"error","message":"Failed to set printer name"})";
const std::string kNoPrintApi =
    R"({"type":"printResult","status":"error","message":"Print API not available"})";

const std::vector<std::wstring> kInstalled = {L"Beta", L"alpha", L"Zeta"};
const std::wstring kDefault = L"zeta";  // as the user's settings may spell it
const std::vector<std::wstring> kListed = {L"Zeta", L"Beta", L"alpha"};

constexpr wchar_t kParentClass[] = L"QuorvelPrintJobTestParent";
// The message the player's windows answer by releasing their host.
constexpr UINT kReleaseHost = WM_APP + 101;
// A second request to print, as the page's message would arrive through the dialog's loop.
constexpr UINT kPrintAgain = WM_APP + 102;

// The parent's host, kept as the player keeps its hosts: the parent's window procedure
// lets go of it on kReleaseHost.
std::unique_ptr<WebView::WebViewHost> g_host;

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kReleaseHost) {
    WebView::WebViewHost::Release(std::move(g_host));
    return 0;
  }
  if (message == kPrintAgain) {
    if (g_host) g_host->ShowSystemPrintDialog();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
constexpr DWORD kOutcomeWaitMs = 20000;
// After the first result message: long enough for a second one to show up.
constexpr DWORD kSecondMessageWaitMs = 300;

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

void WriteFile(const std::wstring& path, const std::string& text) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// The stand-in's log so far, one object per line; the stand-in may be writing it.
std::vector<Json> ReadLog(const std::wstring& path) {
  std::vector<Json> lines;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(Json::parse(text.substr(start, end - start), nullptr, false));
  }
  return lines;
}

bool IsCall(const Json& line, const std::string& name) {
  return line.is_object() && line.value("call", "") == name;
}

// Runs this thread's messages until `done` holds or `timeoutMs` passed.
template <class Condition>
void PumpUntil(Condition done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE,
                              static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)),
                              QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void Pump(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

struct PrintRun {
  std::vector<Json> log;
  DialogDriver::Seen seen;
  long liveObjects = -1;  // the stand-in's objects left once the host is gone

  std::vector<std::string> Posted() const {
    std::vector<std::string> texts;
    for (const Json& line : log) {
      if (IsCall(line, "PostWebMessageAsJson")) texts.push_back(line.value("json", ""));
    }
    return texts;
  }
  bool released = false;  // the host was released (and destroyed) during the run

  size_t Count(const std::string& call) const {
    size_t count = 0;
    for (const Json& line : log) count += IsCall(line, call) ? 1 : 0;
    return count;
  }
  Json First(const std::string& call) const {
    for (const Json& line : log) {
      if (IsCall(line, call)) return line;
    }
    return Json::object();
  }
  // The calls between the creation of the print settings and the Print call: what the
  // host changed in the settings.
  std::vector<Json> SettingsChanges() const {
    std::vector<Json> changes;
    bool inside = false;
    for (const Json& line : log) {
      if (IsCall(line, "CreatePrintSettings")) inside = true;
      if (IsCall(line, "Print")) break;
      if (inside && line.value("call", "").rfind("put_", 0) == 0) changes.push_back(line);
    }
    return changes;
  }
};

class PrintJobTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ParentProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kParentClass;
    RegisterClassExW(&windowClass);
  }

  // One page's request to print on a fresh host: `printResult` (a script line, or empty)
  // tells the stand-in how the job ends, `lacking` which interfaces it refuses, and the
  // driver works the dialog, sending `toOwnerFirst` to the parent first when not 0.
  PrintRun PrintOnce(DialogDriver::Action action, const std::string& printResult,
                     const wchar_t* lacking = nullptr, UINT toOwnerFirst = 0) {
    const std::wstring logPath = TempPath(L"quorvel-print-job.log");
    const std::wstring scriptPath = TempPath(L"quorvel-print-job-script.jsonl");
    DeleteFileW(logPath.c_str());
    WriteFile(scriptPath, (printResult.empty() ? "" : printResult + "\n") +
                              R"({"do":"message","text":"requestPrint"})" + "\n");
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_LOG", logPath.c_str());
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_SCRIPT", scriptPath.c_str());
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_LACK", lacking);

    PrintRun run;
    const HWND parent = CreateWindowExW(0, kParentClass, L"Lesson", WS_OVERLAPPEDWINDOW, 0, 0, 800,
                                        600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    {
      DialogDriver driver(action, L"Beta", toOwnerFirst);
      g_host = std::make_unique<WebView::WebViewHost>();
      int requests = 0;
      // Goes with the host: expires once a release has destroyed it.
      auto hostAlive = std::make_shared<bool>(true);
      const std::weak_ptr<bool> watch = hostAlive;
      g_host->OnWebMessage = [&requests, hostAlive](const std::wstring& message) {
        if (message != L"requestPrint") return;
        ++requests;
        if (g_host) g_host->ShowSystemPrintDialog();
      };
      hostAlive.reset();
      if (!g_host->Initialize(parent, TempPath(L"quorvel-print-job-data"), 1)) {
        ADD_FAILURE() << "the host did not start on the stand-in: "
                      << std::string(g_host->statusMessage().begin(),
                                     g_host->statusMessage().end());
        g_host.reset();
        return run;
      }
      g_host->Navigate(L"https://lesson.example/worksheet");
      PumpUntil(
          [&] {
            if (requests == 0) return false;
            if (watch.expired()) return true;
            for (const Json& line : ReadLog(logPath)) {
              if (IsCall(line, "PostWebMessageAsJson")) return true;
            }
            return false;
          },
          kOutcomeWaitMs);
      Pump(kSecondMessageWaitMs);
      EXPECT_EQ(requests, 1) << "the page's request to print did not arrive once";
      run.seen = driver.Finish();
      run.released = watch.expired();
      WebView::WebViewHost::Release(std::move(g_host));
    }
    DestroyWindow(parent);
    run.log = ReadLog(logPath);
    using LiveObjects = long(STDMETHODCALLTYPE*)();
    if (const HMODULE standin = GetModuleHandleW(L"EmbeddedBrowserWebView.dll")) {
      if (auto count = reinterpret_cast<LiveObjects>(
              reinterpret_cast<void*>(GetProcAddress(standin, "QuorvelStandinLiveObjects")))) {
        run.liveObjects = count();
      }
    }
    return run;
  }
};

void ExpectDialogListedTheTestPrinters(const DialogDriver::Seen& seen) {
  EXPECT_TRUE(seen.shown) << "the printer dialog did not appear";
  EXPECT_FALSE(seen.stayedOpen) << "the printer dialog did not close";
  EXPECT_EQ(seen.listed, kListed);
  EXPECT_EQ(seen.selected, 0) << "the default printer is not preselected";
}

TEST_F(PrintJobTest, SpoolerPrintersAreListedDefaultFirst) {
  TestPrinters printers(kInstalled, kDefault);
  ASSERT_TRUE(printers.ok()) << printers.problem();
  const std::vector<PrinterInfo> listed = EnumerateInstalledPrinters();
  ASSERT_EQ(listed.size(), 3u);
  const std::u16string names[] = {u"Zeta", u"Beta", u"alpha"};
  for (size_t i = 0; i < listed.size(); ++i) {
    EXPECT_EQ(listed[i].name, names[i]);
    EXPECT_EQ(listed[i].isDefault, i == 0) << "printer " << i;
    EXPECT_EQ(listed[i].port, u"FILE:");
    EXPECT_EQ(listed[i].driver, u"Quorvel Test Driver");
  }
}

TEST_F(PrintJobTest, EachOutcomeOfTheJobReachesThePageOnce) {
  TestPrinters printers(kInstalled, kDefault);
  ASSERT_TRUE(printers.ok()) << printers.problem();
  const struct {
    const char* printResult;
    const std::string& expected;
  } cases[] = {
      {R"({"do":"printResult","status":0,"hr":0})", kPrinted},
      {R"({"do":"printResult","status":1})", kUnavailable},
      {R"({"do":"printResult","status":2})", kUnknown},
      {R"({"do":"printResult","status":0,"hr":"0x80004005"})", kFailed},
      // A failed job fails, whatever status comes with it.
      {R"({"do":"printResult","status":1,"hr":"0x800706BA"})", kFailed},
  };
  for (const auto& outcome : cases) {
    SCOPED_TRACE(outcome.printResult);
    const PrintRun run = PrintOnce(DialogDriver::Action::kPrintTo, outcome.printResult);
    ExpectDialogListedTheTestPrinters(run.seen);
    EXPECT_EQ(run.Posted(), std::vector<std::string>{outcome.expected});
    ASSERT_EQ(run.Count("Print"), 1u);
    EXPECT_EQ(run.First("Print")["printerName"], "Beta");
    // The printer is the only setting the host changes.
    const std::vector<Json> changes = run.SettingsChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["call"], "put_PrinterName");
    EXPECT_EQ(changes[0]["value"], "Beta");
    EXPECT_EQ(run.Count("ShowPrintUI"), 0u);
    EXPECT_EQ(run.liveObjects, 0) << "the host or the job kept objects of the browser";
  }
}

TEST_F(PrintJobTest, CancellingTellsThePageWithoutMessage) {
  TestPrinters printers(kInstalled, kDefault);
  ASSERT_TRUE(printers.ok()) << printers.problem();
  for (const auto action : {DialogDriver::Action::kCancel, DialogDriver::Action::kEscape}) {
    SCOPED_TRACE(action == DialogDriver::Action::kCancel ? "Cancel" : "Escape");
    const PrintRun run = PrintOnce(action, R"({"do":"printResult","status":0})");
    ExpectDialogListedTheTestPrinters(run.seen);
    ASSERT_EQ(run.Posted(), std::vector<std::string>{kCancelled});
    const Json posted = Json::parse(run.Posted()[0]);
    EXPECT_FALSE(posted.contains("message"));
    EXPECT_EQ(run.Count("CreatePrintSettings"), 0u);
    EXPECT_EQ(run.Count("Print"), 0u);
    EXPECT_EQ(run.liveObjects, 0);
  }
}

TEST_F(PrintJobTest, WithoutPrintersTheDialogSaysSoAndTheJobIsCancelled) {
  TestPrinters::RemoveAll();
  if (!EnumerateInstalledPrinters().empty()) GTEST_SKIP() << "the Wine prefix has printers";
  const PrintRun run = PrintOnce(DialogDriver::Action::kCancel, "");
  EXPECT_TRUE(run.seen.shown);
  EXPECT_FALSE(run.seen.stayedOpen);
  EXPECT_TRUE(run.seen.listed.empty());
  EXPECT_FALSE(run.seen.listVisible);
  EXPECT_FALSE(run.seen.printVisible);
  EXPECT_TRUE(run.seen.messageVisible);
  EXPECT_EQ(run.Posted(), std::vector<std::string>{kCancelled});
  EXPECT_EQ(run.Count("Print"), 0u);
}

TEST_F(PrintJobTest, ABrowserWithoutPrintingWithSettingsIsReportedOnce) {
  TestPrinters printers(kInstalled, kDefault);
  ASSERT_TRUE(printers.ok()) << printers.problem();
  const struct {
    const wchar_t* lacking;
    const std::string& expected;
    const char* neverCalled;  // the step the missing interface prevents
  } cases[] = {
      {L"ICoreWebView2Environment6", kNoEnvironment, "CreatePrintSettings"},
      {L"ICoreWebView2PrintSettings2", kNoPrinterName, "put_PrinterName"},
      {L"ICoreWebView2_16", kNoPrintApi, "Print"},
  };
  for (const auto& missing : cases) {
    SCOPED_TRACE(std::string(missing.neverCalled) + " without its interface");
    const PrintRun run = PrintOnce(DialogDriver::Action::kPrintTo,
                                   R"({"do":"printResult","status":0})", missing.lacking);
    ExpectDialogListedTheTestPrinters(run.seen);
    EXPECT_EQ(run.Posted(), std::vector<std::string>{missing.expected});
    EXPECT_EQ(run.Count(missing.neverCalled), 0u);
    EXPECT_EQ(run.Count("Print"), 0u);
    EXPECT_EQ(run.Count("ShowPrintUI"), 0u);
    EXPECT_EQ(run.liveObjects, 0);
  }
}

TEST_F(PrintJobTest, ARequestWhileTheDialogIsOpenIsIgnored) {
  TestPrinters printers(kInstalled, kDefault);
  ASSERT_TRUE(printers.ok()) << printers.problem();
  // The second request comes through the open dialog's own message loop.
  const PrintRun run = PrintOnce(DialogDriver::Action::kPrintTo,
                                 R"({"do":"printResult","status":0})", nullptr, kPrintAgain);
  ExpectDialogListedTheTestPrinters(run.seen);
  EXPECT_EQ(run.Posted(), std::vector<std::string>{kPrinted});
  EXPECT_EQ(run.Count("Print"), 1u);
  EXPECT_EQ(run.liveObjects, 0);
}

TEST_F(PrintJobTest, ReleasingTheHostWhileTheDialogIsOpenClosesItAndPrintsNothing) {
  TestPrinters printers(kInstalled, kDefault);
  ASSERT_TRUE(printers.ok()) << printers.problem();
  // Another thread asks the window to release its host, as the player does before a
  // diagnostic ends it, while the dialog waits for the user.
  const PrintRun run = PrintOnce(DialogDriver::Action::kNone, R"({"do":"printResult","status":0})",
                                 nullptr, kReleaseHost);
  EXPECT_TRUE(run.seen.shown);
  EXPECT_FALSE(run.seen.stayedOpen) << "the dialog stayed open after the release";
  EXPECT_TRUE(run.released) << "the host was not released once the dialog had returned";
  EXPECT_TRUE(run.Posted().empty()) << "a page going away was told";
  EXPECT_EQ(run.Count("CreatePrintSettings"), 0u);
  EXPECT_EQ(run.Count("Print"), 0u);
  EXPECT_EQ(run.Count("Close"), 1u);
  EXPECT_EQ(run.liveObjects, 0);
}

TEST_F(PrintJobTest, PrintSettingsTheBrowserCannotMakeAreReportedOnce) {
  TestPrinters printers(kInstalled, kDefault);
  ASSERT_TRUE(printers.ok()) << printers.problem();
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", L"CreatePrintSettings");
  const PrintRun run =
      PrintOnce(DialogDriver::Action::kPrintTo, R"({"do":"printResult","status":0})");
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", nullptr);
  EXPECT_EQ(run.Posted(), std::vector<std::string>{kNoSettings});
  EXPECT_EQ(run.Count("put_PrinterName"), 0u);
  EXPECT_EQ(run.Count("Print"), 0u);
  EXPECT_EQ(run.liveObjects, 0);
}

}  // namespace
