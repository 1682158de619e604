// WebViewHost and EnsureWebView2Runtime against the runtime stand-in, entered through
// the player's own discovery of a private runtime beside the executable.
#include "webview/webview_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "app/runtime_bootstrap.h"
#include "app/startup.h"
#include "common/windows_paths.h"
#include "webview/com_helpers.h"
#include "webview/runtime_loader.h"

namespace {

using nlohmann::json;
using WebView::WebViewHost;

std::wstring TempFolder(const wchar_t* name) {
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, base);
  const std::wstring folder = std::wstring(base) + L"quorvel-host-test\\" + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

class WebViewHostTest : public testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"parent", 0, 0, 0, 800, 600, HWND_MESSAGE, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = TempFolder(std::wstring(name.begin(), name.end()).c_str());
    log_ = folder_ + L"\\runtime.log";
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_LOG", log_.c_str());
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", nullptr);
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_SCRIPT", nullptr);
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_STRING_DOCUMENT", nullptr);
    host_.OnInitialized = [this](bool success, HRESULT result) {
      reports_.push_back({success, result});
    };
  }
  void TearDown() override {
    host_.Shutdown(0);
    DestroyWindow(parent_);
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", nullptr);
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_SCRIPT", nullptr);
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_STRING_DOCUMENT", nullptr);
  }

  // Stimuli the page plays once the next environment's first navigation completed.
  void SetScript(const std::vector<json>& lines) {
    const std::wstring path = folder_ + L"\\script.jsonl";
    std::ofstream file{std::filesystem::path(path)};
    for (const json& line : lines) file << line.dump() << "\n";
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_SCRIPT", path.c_str());
  }

  // Dispatches the thread's messages until the log holds `count` events `name`.
  std::vector<json> WaitForEvents(const std::string& name, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<json> found;
    while (std::chrono::steady_clock::now() < deadline) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      found.clear();
      for (const json& line : Log()) {
        if (line.value("event", "") == name) found.push_back(line);
      }
      if (found.size() >= count) return found;
      Sleep(20);
    }
    ADD_FAILURE() << "fewer than " << count << " " << name << " events";
    return found;
  }

  std::vector<json> Log() const {
    std::vector<json> lines;
    std::ifstream file{std::filesystem::path(log_)};
    for (std::string line; std::getline(file, line);) {
      if (!line.empty()) lines.push_back(json::parse(line));
    }
    return lines;
  }
  std::vector<json> Calls(const std::string& name) const {
    std::vector<json> calls;
    for (const json& line : Log()) {
      if (line.value("call", "") == name) calls.push_back(line);
    }
    return calls;
  }

  HWND parent_ = nullptr;
  std::wstring folder_;
  std::wstring log_;
  WebViewHost host_;
  std::vector<std::pair<bool, HRESULT>> reports_;
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST_F(WebViewHostTest, StartsWithThePrivateRuntimeAndItsOwnFolder) {
  ASSERT_TRUE(host_.Initialize(parent_, folder_ + L"\\Data", 1)) << Narrow(host_.statusMessage());
  EXPECT_EQ(host_.lastError(), S_OK);
  EXPECT_EQ(host_.statusMessage(), L"WebView2 initialized with Fixed 120.0.2210.91; userData=" +
                                       folder_ + L"\\Data_Fixed_Env5");
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0], std::make_pair(true, S_OK));

  const std::vector<json> entry = Calls("CreateWebViewEnvironmentWithOptionsInternal");
  ASSERT_EQ(entry.size(), 1u);
  EXPECT_EQ(entry[0]["runtimeType"], 1);
  // Appearance, then the handlers in their order, then the resource filter.
  std::vector<std::string> calls;
  for (const json& line : Log()) {
    if (line.contains("call")) calls.push_back(line["call"]);
  }
  const std::vector<std::string> expected = {"put_DefaultBackgroundColor",
                                             "put_AllowExternalDrop",
                                             "put_Bounds",
                                             "add_NavigationStarting",
                                             "add_WebMessageReceived",
                                             "add_NavigationCompleted",
                                             "add_PermissionRequested",
                                             "add_NewWindowRequested",
                                             "AddWebResourceRequestedFilterWithRequestSourceKinds",
                                             "add_WebResourceRequested",
                                             "add_ProcessFailed"};
  const auto first = std::find(calls.begin(), calls.end(), expected[0]);
  ASSERT_NE(first, calls.end());
  EXPECT_EQ(std::vector<std::string>(first, first + expected.size()), expected);
  EXPECT_EQ(Calls("put_DefaultBackgroundColor")[0]["r"], 0x12);
}

TEST_F(WebViewHostTest, PlatformAddressesCarryTheIdentifierHeaders) {
  ASSERT_TRUE(host_.Initialize(parent_, folder_ + L"\\Data", 1));
  host_.Navigate(L"https://127.0.0.1:8443/app/");
  host_.Navigate(L"https://www.example.org/");
  const std::vector<json> withHeaders = Calls("NavigateWithWebResourceRequest");
  ASSERT_EQ(withHeaders.size(), 1u);
  EXPECT_EQ(withHeaders[0]["uri"], "https://127.0.0.1:8443/app/");
  EXPECT_EQ(withHeaders[0]["headers"]["X-Quorvel-Client"], "desktop-player-webview");
  EXPECT_EQ(withHeaders[0]["headers"]["X-Device-Id"].get<std::string>().size(), 64u);
  ASSERT_EQ(Calls("Navigate").size(), 1u);
  EXPECT_EQ(Calls("Navigate")[0]["uri"], "https://www.example.org/");
}

TEST_F(WebViewHostTest, ItsOwnTextDocumentPassesInEitherFormAndNoOtherOfItsScheme) {
  const std::string other = "data:text/html;charset=utf-8;base64,PHA+b3RoZXI8L3A+";
  SetScript({{{"do", "navigate"}, {"uri", other}}});
  for (const wchar_t* form : {L"about", L"data"}) {
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_STRING_DOCUMENT", form);
    log_ = folder_ + L"\\runtime-" + form + L".log";  // each environment its own log
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_LOG", log_.c_str());
    WebViewHost host;
    std::vector<std::wstring> asked;
    // As the player's check: of the documents without a web address, about:blank only.
    host.OnNavigationStarting = [&](const std::wstring& address, bool& cancel) {
      asked.push_back(address);
      cancel = address != L"about:blank";
    };
    ASSERT_TRUE(host.Initialize(parent_, folder_ + L"\\Data", 1));
    host.NavigateToString(L"<p>lesson</p>");
    const std::vector<json> starts = WaitForEvents("NavigationStarting", 2);
    ASSERT_EQ(starts.size(), 2u) << Narrow(form);
    const std::string own = Narrow(form) == "about"
                                ? "about:blank"
                                : "data:text/html;charset=utf-8;base64,PHA+bGVzc29uPC9wPg==";
    EXPECT_EQ(starts[0]["uri"], own);
    EXPECT_EQ(starts[0]["cancelled"], false) << Narrow(form);
    EXPECT_EQ(starts[1]["uri"], other);
    EXPECT_EQ(starts[1]["cancelled"], true) << Narrow(form);
    EXPECT_EQ(asked.back(), std::wstring(other.begin(), other.end()));
    host.Shutdown(0);
  }
}

// Each failed process is reported with its kind. What the view showed is shown again as
// the host first showed it: its own document as text again, a platform page with its
// identifier headers again, and the page a navigation of the page reached, not the
// first one; after the browser process ended only a new host can show it.
TEST_F(WebViewHostTest, FailedProcessesAreReportedAndTheShownDocumentShowsAgain) {
  std::vector<int> kinds;
  const auto record = [&](COREWEBVIEW2_PROCESS_FAILED_KIND kind) { kinds.push_back(kind); };
  SetScript({{{"do", "processFailed"}, {"kind", 1}}, {{"do", "processFailed"}, {"kind", 6}}});
  host_.OnProcessFailed = record;
  ASSERT_TRUE(host_.Initialize(parent_, folder_ + L"\\Data", 1));
  EXPECT_FALSE(host_.Show(host_.shownDocument())) << "nothing was shown yet";
  host_.NavigateToString(L"<p>lesson</p>");
  WaitForEvents("ProcessFailed", 2);
  EXPECT_EQ(kinds, (std::vector<int>{1, 6}));
  EXPECT_EQ(host_.shownDocument().html, L"<p>lesson</p>");
  EXPECT_TRUE(host_.Show(host_.shownDocument()));
  const std::vector<json> strings = Calls("NavigateToString");
  ASSERT_EQ(strings.size(), 2u);
  EXPECT_EQ(strings[1]["html"], "<p>lesson</p>");
  host_.Shutdown(0);

  kinds.clear();
  log_ = folder_ + L"\\second.log";
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_LOG", log_.c_str());
  SetScript({{{"do", "navigate"}, {"uri", "https://127.0.0.1:8443/app/next"}},
             {{"do", "processFailed"}, {"kind", 0}}});
  WebViewHost failing;
  failing.OnProcessFailed = record;
  ASSERT_TRUE(failing.Initialize(parent_, folder_ + L"\\Data", 1));
  failing.Navigate(L"https://127.0.0.1:8443/app/");
  WaitForEvents("BrowserProcessExited", 1);
  EXPECT_EQ(kinds, (std::vector<int>{0}));
  EXPECT_EQ(failing.shownDocument().address, L"https://127.0.0.1:8443/app/next");
  EXPECT_FALSE(failing.Show(failing.shownDocument())) << "a view whose browser ended";

  SetScript({});
  WebViewHost successor;
  ASSERT_TRUE(successor.Initialize(parent_, folder_ + L"\\Data", 1));
  EXPECT_TRUE(successor.Show(failing.shownDocument()));
  const std::vector<json> shown = Calls("NavigateWithWebResourceRequest");
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1]["uri"], "https://127.0.0.1:8443/app/next");
  EXPECT_EQ(shown[1]["headers"]["X-Device-Id"].get<std::string>().size(), 64u);
  failing.Shutdown(0);
  successor.Shutdown(0);
}

TEST_F(WebViewHostTest, DevicesOnlyForTrustedOriginsAndNewWindowsOnlyForWebAddresses) {
  SetScript({
      {{"do", "permission"}, {"kind", 1}, {"uri", "https://trusted.test/"}},
      {{"do", "permission"}, {"kind", 2}, {"uri", "https://other.test/"}},
      {{"do", "permission"}, {"kind", 3}, {"uri", "https://trusted.test/"}},
      {{"do", "permission"}, {"kind", 4}, {"uri", "https://trusted.test/"}},
      {{"do", "newWindow"}, {"uri", "file://trusted.test/share"}},
      {{"do", "newWindow"}, {"uri", "javascript:alert(1)"}},
      {{"do", "newWindow"}, {"uri", "https://trusted.test/popup"}},
  });
  host_.TrustsOrigin = [](const std::wstring& origin) {
    return origin == L"https://trusted.test/";
  };
  ASSERT_TRUE(host_.Initialize(parent_, folder_ + L"\\Data", 1));
  host_.Navigate(L"https://trusted.test/");
  std::vector<int> states;
  for (const json& event : WaitForEvents("PermissionRequested", 4))
    states.push_back(event["state"]);
  EXPECT_EQ(states, (std::vector<int>{1, 0, 0, 1}));  // allow, default, default, allow
  WaitForEvents("NewWindowRequested", 3);
  std::vector<std::string> opened;
  for (const json& call : Calls("Navigate")) opened.push_back(call["uri"]);
  EXPECT_EQ(opened,
            (std::vector<std::string>{"https://trusted.test/", "https://trusted.test/popup"}));
}

TEST_F(WebViewHostTest, EachFailureStageIsReportedWithItsCode) {
  for (const wchar_t* stage :
       {L"CreateEnvironmentCall", L"CreateEnvironmentCallback", L"CreateControllerCall",
        L"CreateControllerCallback", L"GetCoreWebView2"}) {
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL",
                            (std::wstring(stage) + L":0x80004321").c_str());
    WebViewHost host;
    HRESULT reported = S_OK;
    host.OnInitialized = [&](bool, HRESULT result) { reported = result; };
    EXPECT_FALSE(host.Initialize(parent_, folder_ + L"\\Data", 1));
    EXPECT_EQ(host.lastError(), static_cast<HRESULT>(0x80004321)) << Narrow(stage);
    EXPECT_EQ(reported, static_cast<HRESULT>(0x80004321));
    EXPECT_EQ(host.statusMessage(), L"WebView2 initialization failed. First=0x80004321 at " +
                                        std::wstring(stage) + L"; last=0x80004321 at " + stage +
                                        L"; runtime=Fixed 120.0.2210.91; lastUserData=" + folder_ +
                                        L"\\Data_Fixed_Env5");
    EXPECT_EQ(host.webView(), nullptr);
  }
}

TEST_F(WebViewHostTest, InvalidArgumentsAreRefusedAtOnce) {
  EXPECT_FALSE(host_.Initialize(parent_, L"", 1));
  EXPECT_EQ(host_.lastError(), E_INVALIDARG);
  EXPECT_EQ(host_.statusMessage(), L"Invalid parent window or user-data folder.");
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0], std::make_pair(false, E_INVALIDARG));
  EXPECT_TRUE(Log().empty());
}

TEST_F(WebViewHostTest, ClosingTheApplicationDuringInitialisationKeepsTheQuit) {
  // The controller call claims success and never completes: the host waits.
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", L"CreateControllerCall:0");
  PostQuitMessage(7);
  EXPECT_FALSE(host_.Initialize(parent_, folder_ + L"\\Data", 1));
  EXPECT_EQ(host_.lastError(), E_ABORT);
  EXPECT_NE(host_.statusMessage().find(L"at ApplicationQuitDuringInitialization"),
            std::wstring::npos);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

// As the player's windows keep their hosts: the window procedure lets go of it on
// kReleaseHost (its destruction and WM_RELEASE_BROWSER do the same).
constexpr UINT kReleaseHost = WM_APP + 101;
constexpr wchar_t kReleasingClass[] = L"QuorvelHostTestReleasingParent";
std::unique_ptr<WebViewHost> g_slot;

LRESULT CALLBACK ReleasingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kReleaseHost) {
    WebViewHost::Release(std::move(g_slot));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WebViewHostTest, AReleaseDuringTheStartEndsItAndIsHeldUntilItHasReturned) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ReleasingProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kReleasingClass;
  RegisterClassExW(&windowClass);
  // The controller call claims success and never completes: only the release ends the wait.
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", L"CreateControllerCall:0");
  // Posted: as a window closed during the wait. Sent from another thread: as
  // WM_RELEASE_BROWSER before a diagnostic, which arrives inside the wait's GetMessage.
  for (const bool fromAnotherThread : {false, true}) {
    SCOPED_TRACE(fromAnotherThread ? "sent from another thread" : "posted");
    const HWND window = CreateWindowExW(0, kReleasingClass, L"parent", 0, 0, 0, 800, 600,
                                        HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    g_slot = std::make_unique<WebViewHost>();
    WebViewHost* host = g_slot.get();
    // Goes with the host: expires once the release has destroyed it.
    auto alive = std::make_shared<bool>(true);
    const std::weak_ptr<bool> watch = alive;
    bool told = false;
    host->OnInitialized = [alive, &told](bool, HRESULT) { told = true; };
    alive.reset();

    const DWORD thread = GetCurrentThreadId();
    const HANDLE returned = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([=] {
      if (fromAnotherThread) {
        Sleep(300);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, kReleaseHost, 0, 0, SMTO_BLOCK, 7000, &ignored);
      }
      // A wait the release did not end would never end: the test gives up with a quit.
      if (WaitForSingleObject(returned, 10000) == WAIT_TIMEOUT) {
        PostThreadMessageW(thread, WM_QUIT, 0, 0);
      }
    });
    if (!fromAnotherThread) PostMessageW(window, kReleaseHost, 0, 0);
    const bool started = host->Initialize(window, folder_ + L"\\Data", 1);
    SetEvent(returned);
    other.join();
    CloseHandle(returned);

    EXPECT_FALSE(started);
    ASSERT_FALSE(watch.expired()) << "the host was destroyed under Initialize";
    EXPECT_TRUE(host->releasing());
    EXPECT_FALSE(told) << "the owner that let go was told";
    EXPECT_EQ(host->lastError(), E_ABORT);
    EXPECT_NE(host->statusMessage().find(L" at ReleasedDuringInitialization;"), std::wstring::npos)
        << Narrow(host->statusMessage());
    // The release runs from the message loop.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    MSG message;
    while (!watch.expired() && GetTickCount64() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    EXPECT_TRUE(watch.expired()) << "the held host was never released";
    DestroyWindow(window);
  }
}

TEST_F(WebViewHostTest, LaterAttemptsUseRecoveryFoldersAndTheFirstFailureIsReported) {
  // A file where the base folder should be: the write test fails there.
  const std::wstring base = folder_ + L"\\Data_Fixed_Env5";
  std::ofstream{std::filesystem::path(base)} << "not a folder";
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", L"CreateEnvironmentCallback:0x80004322");
  EXPECT_FALSE(host_.Initialize(parent_, folder_ + L"\\Data", 3));
  EXPECT_EQ(host_.lastError() & 0xFFFF0000, static_cast<HRESULT>(0x80070000));
  const std::wstring& status = host_.statusMessage();
  EXPECT_NE(
      status.find(L" at UserDataFolderWriteTest; last=0x80004322 at CreateEnvironmentCallback"),
      std::wstring::npos)
      << Narrow(status);
  const std::wstring recovery =
      base + L"_Recovery_" + std::to_wstring(GetCurrentProcessId()) + L"_";
  EXPECT_NE(status.find(L"lastUserData=" + recovery), std::wstring::npos) << Narrow(status);
  EXPECT_TRUE(status.ends_with(L"_2")) << Narrow(status);
  EXPECT_EQ(Calls("CreateWebViewEnvironmentWithOptionsInternal").size(), 2u);
}

TEST_F(WebViewHostTest, ShutdownRunsOnceAndWithoutWaitingWhenAskedTo) {
  ASSERT_TRUE(host_.Initialize(parent_, folder_ + L"\\Data", 1));
  const auto started = std::chrono::steady_clock::now();
  host_.Shutdown(0);
  host_.Shutdown(5000);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_EQ(Calls("Close").size(), 1u);
  EXPECT_EQ(host_.webView(), nullptr);
  host_.Navigate(L"https://127.0.0.1:8443/");  // a closed host does nothing
  EXPECT_TRUE(Calls("NavigateWithWebResourceRequest").empty());
}

// The start-up drains the queue so new windows paint; a window closed meanwhile has
// posted the quit that must still end the main loop.
TEST(DrainMessages, KeepsAQuitForTheMainLoop) {
  PostQuitMessage(9);
  DrainMessages();
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 9u);
}

TEST(EnsureWebView2Runtime, FindsThePrivateRuntimeOrTheInstalledOne) {
  // The start-up checks the runtime before any browser set these overrides.
  SetEnvironmentVariableW(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", nullptr);
  SetEnvironmentVariableW(L"WEBVIEW2_USER_DATA_FOLDER", nullptr);
  EXPECT_TRUE(EnsureWebView2Runtime());

  // Without the private copy: the runtime the registry names, in the 32-bit view.
  const std::wstring privateRuntime = ExecutableFolder() + L"\\WebView2Runtime";
  const std::wstring hidden = ExecutableFolder() + L"\\WebView2Runtime.away";
  const std::wstring installed = TempFolder(L"installed") + L"\\120.0.2210.91";
  std::filesystem::create_directories(installed + L"\\EBWebView\\x64");
  std::filesystem::copy_file(privateRuntime + L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll",
                             installed + L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll");
  ASSERT_TRUE(MoveFileW(privateRuntime.c_str(), hidden.c_str()));
  HKEY key = nullptr;
  const wchar_t* path =
      L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"EBWebView", 0, REG_SZ, reinterpret_cast<const BYTE*>(installed.c_str()),
                 static_cast<DWORD>((installed.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);

  CoTaskString version;
  EXPECT_EQ(GetAvailableCoreWebView2BrowserVersionString(nullptr, version.Receive()), S_OK);
  EXPECT_EQ(std::wstring(version.View()), L"120.0.2210.91");
  EXPECT_TRUE(EnsureWebView2Runtime());

  RegDeleteKeyExW(HKEY_CURRENT_USER, path, KEY_WOW64_32KEY, 0);
  MoveFileW(hidden.c_str(), privateRuntime.c_str());
}

}  // namespace
