// The stand-in driving a real headless Chromium (QUORVEL_RUNTIME_ENGINE=chromium): pages
// really load from a loopback server, scripts really run, and what the host does to
// requests really reaches the network.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/runtime_standin/loopback_server.h"
#include "tests/runtime_standin/standin_fixture.h"

namespace {

// The page the tests talk to: it reports how it started, and does what the host's
// messages ask of it.
constexpr char kFirstPage[] = R"(<!doctype html><title>first</title><script>
chrome.webview.addEventListener('message', (event) => {
  const asked = event.data;
  if (asked === 'go') location.href = '/second';
  else if (asked === 'where') chrome.webview.postMessage({where: location.pathname});
  else if (asked && asked.fetch) fetch(asked.fetch).then(async (answer) =>
      chrome.webview.postMessage({status: answer.status, text: await answer.text()}));
  else if (asked && asked.open) window.open(asked.open);
  else chrome.webview.postMessage({echo: asked});
});
chrome.webview.postMessage({early: window.__early === true, path: location.pathname});
</script>)";

class ChromiumTest : public StandinTest {
 protected:
  ChromiumTest() : server_({{"/first", kFirstPage}, {"/second", "<p>second</p>"}}) {}

  void SetUp() override {
    StandinTest::SetUp();
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_ENGINE", L"chromium");
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_PRINT_DIR", folder_.c_str());
  }

  void TearDown() override {
    // The browser really ends: wait for its news before the fixture counts live objects.
    if (controller_ != nullptr) {
      const size_t exits = Events("BrowserProcessExited").size();
      controller_->Close();
      PumpUntil([&] { return Events("BrowserProcessExited").size() > exits; }, 15000);
    }
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_ENGINE", nullptr);
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_PRINT_DIR", nullptr);
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_CHROMIUM", nullptr);
    StandinTest::TearDown();
  }

  // The view with the handlers that record what the tests look at.
  void Open() {
    CreateView();
    if (HasFatalFailure()) return;
    controller_->put_Bounds({0, 0, 800, 600});
    EventRegistrationToken token;
    view_->add_NavigationStarting(
        MakeCallback<ICoreWebView2NavigationStartingEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
              CoTaskString uri;
              args->get_Uri(uri.Receive());
              if (cancel_ && Narrow(uri.View()).find(cancel_when_) != std::string::npos) {
                args->put_Cancel(TRUE);
              }
              return S_OK;
            })
            .Get(),
        &token);
    view_->add_NavigationCompleted(
        MakeCallback<ICoreWebView2NavigationCompletedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
              BOOL success = FALSE;
              args->get_IsSuccess(&success);
              COREWEBVIEW2_WEB_ERROR_STATUS status{};
              args->get_WebErrorStatus(&status);
              completions_.push_back({success != FALSE, status});
              return S_OK;
            })
            .Get(),
        &token);
    view_->add_WebMessageReceived(
        MakeCallback<ICoreWebView2WebMessageReceivedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
              CoTaskString json;
              args->get_WebMessageAsJson(json.Receive());
              messages_.push_back(Json::parse(Narrow(json.View())));
              return S_OK;
            })
            .Get(),
        &token);
  }

  struct Completion {
    bool success;
    COREWEBVIEW2_WEB_ERROR_STATUS status;
  };

  void NavigateAndWait(const std::string& path) {
    const size_t before = completions_.size();
    ASSERT_EQ(view_->Navigate(Wide(server_.Url(path)).c_str()), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return completions_.size() > before; }, 15000));
  }

  // Posts to the page and waits for its next message.
  Json Ask(const std::wstring& json) {
    const size_t before = messages_.size();
    EXPECT_EQ(view_->PostWebMessageAsJson(json.c_str()), S_OK);
    if (!PumpUntil([&] { return messages_.size() > before; }, 10000)) return nullptr;
    return messages_.back();
  }

  static std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
  }

  LoopbackServer server_;
  std::vector<Completion> completions_;
  std::vector<Json> messages_;
  bool cancel_ = false;
  std::string cancel_when_;
};

TEST_F(ChromiumTest, PagesLoadRunTheDocumentScriptFirstAndTalkBothWays) {
  Open();
  ASSERT_FALSE(HasFatalFailure());
  const std::vector<Json> log = Log();
  ASSERT_FALSE(log.empty());
  bool engine = false;
  for (const Json& line : log) engine = engine || line.value("engine", "") == "chromium";
  EXPECT_TRUE(engine) << "no engine line at environment creation";

  bool script_added = false;
  ASSERT_EQ(view_->AddScriptToExecuteOnDocumentCreated(
                L"window.__early = true;",
                MakeCallback<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>(
                    [&](HRESULT code, LPCWSTR) {
                      script_added = SUCCEEDED(code);
                      return S_OK;
                    })
                    .Get()),
            S_OK);
  ASSERT_TRUE(PumpUntil([&] { return script_added; }, 10000));

  NavigateAndWait("/first");
  ASSERT_TRUE(completions_.back().success);
  EXPECT_EQ(server_.Last("/first").method, "GET");
  ASSERT_TRUE(PumpUntil([&] { return !messages_.empty(); }, 10000));
  EXPECT_EQ(messages_.front(), (Json{{"early", true}, {"path", "/first"}}))
      << "the host's document script must run before the page's own";
  const std::vector<Json> received = Events("WebMessageReceived");
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received.front()["source"], server_.Url("/first"));

  EXPECT_EQ(Ask(L"{\"n\":[1,\"\\u00e9\"]}"), (Json{{"echo", {{"n", {1, "\xC3\xA9"}}}}}));
  const size_t before = messages_.size();
  ASSERT_EQ(view_->PostWebMessageAsString(L"quote ' and \" </script>"), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return messages_.size() > before; }, 10000));
  EXPECT_EQ(messages_.back(), (Json{{"echo", "quote ' and \" </script>"}}));

  CoTaskString source;
  view_->get_Source(source.Receive());
  EXPECT_EQ(Narrow(source.View()), server_.Url("/first"));
}

TEST_F(ChromiumTest, ACancelledNavigationLeavesThePageWhereItWas) {
  Open();
  ASSERT_FALSE(HasFatalFailure());
  NavigateAndWait("/first");
  ASSERT_TRUE(completions_.back().success);

  // The page's own navigation, cancelled by the host.
  cancel_ = true;
  cancel_when_ = "/second";
  const size_t before = completions_.size();
  ASSERT_EQ(view_->PostWebMessageAsJson(L"\"go\""), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return completions_.size() > before; }, 10000));
  EXPECT_FALSE(completions_.back().success);
  EXPECT_EQ(completions_.back().status, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
  const std::vector<Json> starting = Events("NavigationStarting");
  ASSERT_FALSE(starting.empty());
  EXPECT_EQ(starting.back()["uri"], server_.Url("/second"));
  EXPECT_EQ(starting.back()["cancelled"], true);
  EXPECT_EQ(Ask(L"\"where\""), (Json{{"where", "/first"}}));

  // The host's own, cancelled: it never reaches the browser.
  cancel_when_ = "/never";
  NavigateAndWait("/never");
  EXPECT_FALSE(completions_.back().success);
  EXPECT_EQ(Ask(L"\"where\""), (Json{{"where", "/first"}}));
  for (const SeenRequest& seen : server_.Seen()) {
    EXPECT_NE(seen.path, "/second");
    EXPECT_NE(seen.path, "/never");
  }
}

TEST_F(ChromiumTest, WhatTheHostDoesToRequestsReallyHappens) {
  Open();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(view_->AddWebResourceRequestedFilter(L"*/res*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL),
            S_OK);
  EventRegistrationToken token;
  ComPtr<ICoreWebView2Environment> environment = environment_;
  view_->add_WebResourceRequested(
      MakeCallback<ICoreWebView2WebResourceRequestedEventHandler>(
          [environment](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
            ComPtr<ICoreWebView2WebResourceRequest> request;
            args->get_Request(&request);
            CoTaskString uri;
            request->get_Uri(uri.Receive());
            const std::string address = Narrow(uri.View());
            if (address.ends_with("/res-header")) {
              ComPtr<ICoreWebView2HttpRequestHeaders> headers;
              request->get_Headers(&headers);
              headers->SetHeader(L"X-Quorvel-Test", L"42");
            } else if (address.ends_with("/res-blocked")) {
              ComPtr<IStream> content;
              CreateStreamOnHGlobal(nullptr, TRUE, &content);
              ULONG written = 0;
              content->Write("denied", 6, &written);
              ComPtr<ICoreWebView2WebResourceResponse> response;
              environment->CreateWebResourceResponse(content.Get(), 403, L"Blocked",
                                                     L"Content-Type: text/plain", &response);
              args->put_Response(response.Get());
            }
            return S_OK;
          })
          .Get(),
      &token);
  NavigateAndWait("/first");
  ASSERT_TRUE(completions_.back().success);

  EXPECT_EQ(Ask(L"{\"fetch\":\"/res-header\"}"), (Json{{"status", 404}, {"text", "not here"}}));
  EXPECT_EQ(server_.Last("/res-header").headers["x-quorvel-test"], "42");
  EXPECT_EQ(Ask(L"{\"fetch\":\"/res-blocked\"}"), (Json{{"status", 403}, {"text", "denied"}}));
  EXPECT_TRUE(server_.Last("/res-blocked").method.empty()) << "a blocked request went out";

  std::vector<Json> requested = Events("WebResourceRequested");
  ASSERT_EQ(requested.size(), 2u);
  EXPECT_EQ(requested[0]["context"], COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH);
  EXPECT_EQ(requested[0]["headers"]["X-Quorvel-Test"], "42");
  EXPECT_EQ(requested[1]["response"]["status"], 403);
  EXPECT_EQ(requested[1]["response"]["reason"], "Blocked");

  // A navigation with the host's own method, headers and body.
  ComPtr<ICoreWebView2Environment2> environment2;
  ASSERT_EQ(environment_.As(&environment2), S_OK);
  ComPtr<IStream> body;
  CreateStreamOnHGlobal(nullptr, TRUE, &body);
  ULONG written = 0;
  body->Write("a=1&b=2", 7, &written);
  ComPtr<ICoreWebView2WebResourceRequest> request;
  ASSERT_EQ(environment2->CreateWebResourceRequest(
                Wide(server_.Url("/second")).c_str(), L"POST", body.Get(),
                L"Content-Type: application/x-www-form-urlencoded\r\nX-Form: yes", &request),
            S_OK);
  ComPtr<ICoreWebView2_2> view2;
  ASSERT_EQ(view_.As(&view2), S_OK);
  const size_t before = completions_.size();
  ASSERT_EQ(view2->NavigateWithWebResourceRequest(request.Get()), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return completions_.size() > before; }, 15000));
  SeenRequest posted = server_.Last("/second");
  EXPECT_EQ(posted.method, "POST");
  EXPECT_EQ(posted.body, "a=1&b=2");
  EXPECT_EQ(posted.headers["x-form"], "yes");
}

TEST_F(ChromiumTest, WindowOpenAsksTheHostAndPrintWritesAPdf) {
  Open();
  ASSERT_FALSE(HasFatalFailure());
  bool asked = false;
  EventRegistrationToken token;
  view_->add_NewWindowRequested(
      MakeCallback<ICoreWebView2NewWindowRequestedEventHandler>(
          [&](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
            asked = true;
            args->put_Handled(TRUE);
            return S_OK;
          })
          .Get(),
      &token);
  NavigateAndWait("/first");
  ASSERT_TRUE(completions_.back().success);
  ASSERT_EQ(view_->PostWebMessageAsJson(L"{\"open\":\"/popup\"}"), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return asked; }, 10000));
  const std::vector<Json> windows = Events("NewWindowRequested");
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0]["uri"], server_.Url("/popup"));
  EXPECT_EQ(windows[0]["handled"], true);

  ComPtr<ICoreWebView2Environment6> environment6;
  ASSERT_EQ(environment_.As(&environment6), S_OK);
  ComPtr<ICoreWebView2PrintSettings> settings;
  ASSERT_EQ(environment6->CreatePrintSettings(&settings), S_OK);
  ComPtr<ICoreWebView2_16> view16;
  ASSERT_EQ(view_.As(&view16), S_OK);
  bool printed = false;
  HRESULT code = E_PENDING;
  COREWEBVIEW2_PRINT_STATUS status = COREWEBVIEW2_PRINT_STATUS_OTHER_ERROR;
  ASSERT_EQ(
      view16->Print(
          settings.Get(),
          MakeCallback<ICoreWebView2PrintCompletedHandler>([&](HRESULT result,
                                                               COREWEBVIEW2_PRINT_STATUS how) {
            printed = true;
            code = result;
            status = how;
            return S_OK;
          }).Get()),
      S_OK);
  ASSERT_TRUE(PumpUntil([&] { return printed; }, 15000));
  EXPECT_EQ(code, S_OK);
  EXPECT_EQ(status, COREWEBVIEW2_PRINT_STATUS_SUCCEEDED);
  const std::vector<Json> completed = Events("PrintCompleted");
  ASSERT_EQ(completed.size(), 1u);
  const std::string file = completed[0].value("file", "");
  ASSERT_FALSE(file.empty());
  std::ifstream pdf(std::filesystem::u8path(file), std::ios::binary);
  char start[5] = {};
  pdf.read(start, 4);
  EXPECT_EQ(std::string(start), "%PDF");
}

// Whether Chromium's process (a Unix pid) still exists, seen through Wine's Z: drive.
bool UnixProcessExists(UINT32 pid) {
  const std::wstring path = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\status";
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(ChromiumTest, ClosingTheLastControllerEndsChromium) {
  Open();
  ASSERT_FALSE(HasFatalFailure());
  UINT32 pid = 0;
  ASSERT_EQ(view_->get_BrowserProcessId(&pid), S_OK);
  ASSERT_NE(pid, 0u);
  EXPECT_TRUE(UnixProcessExists(pid));
  ASSERT_EQ(controller_->Close(), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return !Events("BrowserProcessExited").empty(); }, 15000));
  EXPECT_EQ(Events("BrowserProcessExited")[0]["kind"],
            COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL);
  EXPECT_TRUE(PumpUntil([&] { return !UnixProcessExists(pid); }, 10000))
      << "Chromium outlived the environment's last controller";
  controller_.Reset();
}

// As chrome://crash would: the page's renderer really ends, the view reports it, and the
// next navigation brings a renderer that runs the page and the bridge again.
TEST_F(ChromiumTest, ACrashedRendererIsReportedAndTheNextNavigationRunsThePageAgain) {
  SetScript({R"({"do":"processFailed","kind":1})"});
  Open();
  ASSERT_FALSE(HasFatalFailure());
  NavigateAndWait("/first");
  ASSERT_TRUE(PumpUntil([&] { return !Events("ProcessFailed").empty(); }, 15000));
  EXPECT_EQ(Events("ProcessFailed")[0]["kind"],
            COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
  EXPECT_TRUE(Events("BrowserProcessExited").empty());
  NavigateAndWait("/first");
  EXPECT_TRUE(completions_.back().success);
  EXPECT_EQ(Ask(L"\"where\""), Json({{"where", "/first"}}));
}

TEST_F(ChromiumTest, ACrashedBrowserIsAFailedExitAndAMissingOneFailsCreation) {
  SetScript({R"({"do":"browserExit"})"});
  Open();
  ASSERT_FALSE(HasFatalFailure());
  NavigateAndWait("/second");
  ASSERT_TRUE(PumpUntil([&] { return !Events("BrowserProcessExited").empty(); }, 15000));
  EXPECT_EQ(Events("BrowserProcessExited")[0]["kind"],
            COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED);
  // The view heard of it first, and is closed.
  const std::vector<Json> failed = Events("ProcessFailed");
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0]["kind"], COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
  EXPECT_LE(failed[0]["t"], Events("BrowserProcessExited")[0]["t"]);
  EXPECT_EQ(view_->Reload(), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
  view_.Reset();
  controller_->Close();
  controller_.Reset();
  environment_.Reset();
  PumpFor(200);

  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_CHROMIUM", L"/nonexistent/chromium");
  EXPECT_TRUE(FAILED(CreateEnvironment()));
  EXPECT_EQ(environment_, nullptr);
  bool explained = false;
  for (const Json& line : Log()) {
    explained = explained || line.value("error", "").find("Chromium did not start") == 0;
  }
  EXPECT_TRUE(explained);
}

}  // namespace
