// The stimuli of QUORVEL_RUNTIME_SCRIPT: played in order once the first navigation has
// completed, each raising what the page or the browser would.

#include <chrono>
#include <string>
#include <vector>

#include "tests/runtime_standin/standin_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

class ScriptTest : public StandinTest {
 protected:
  // Creates the view with `script`, registers the recording handlers, and navigates.
  void Start(const std::vector<std::string>& script, bool navigate = true) {
    SetScript(script);
    CreateView();
    if (HasFatalFailure()) return;
    EventRegistrationToken token;
    view_->add_WebMessageReceived(
        MakeCallback<ICoreWebView2WebMessageReceivedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
              CoTaskString json, text;
              args->get_WebMessageAsJson(json.Receive());
              const HRESULT as_string = args->TryGetWebMessageAsString(text.Receive());
              seen_.push_back("message " + Narrow(json.View()) +
                              (SUCCEEDED(as_string) ? " text " + Narrow(text.View()) : ""));
              message_at_ = Clock::now();
              return S_OK;
            })
            .Get(),
        &token);
    view_->add_NavigationStarting(
        MakeCallback<ICoreWebView2NavigationStartingEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
              CoTaskString uri;
              args->get_Uri(uri.Receive());
              BOOL user = FALSE;
              args->get_IsUserInitiated(&user);
              seen_.push_back(std::string(user ? "page " : "host ") + "starting " +
                              Narrow(uri.View()));
              return S_OK;
            })
            .Get(),
        &token);
    view_->add_NavigationCompleted(
        MakeCallback<ICoreWebView2NavigationCompletedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs*) {
              seen_.push_back("completed");
              if (!first_completed_at_) first_completed_at_ = Clock::now();
              return S_OK;
            })
            .Get(),
        &token);
    view_->add_NewWindowRequested(
        MakeCallback<ICoreWebView2NewWindowRequestedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
              CoTaskString uri;
              args->get_Uri(uri.Receive());
              seen_.push_back("new window " + Narrow(uri.View()));
              args->put_Handled(TRUE);
              return S_OK;
            })
            .Get(),
        &token);
    view_->add_PermissionRequested(
        MakeCallback<ICoreWebView2PermissionRequestedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
              COREWEBVIEW2_PERMISSION_KIND kind;
              args->get_PermissionKind(&kind);
              seen_.push_back("permission " + std::to_string(kind));
              args->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW);
              return S_OK;
            })
            .Get(),
        &token);
    view_->add_WebResourceRequested(
        MakeCallback<ICoreWebView2WebResourceRequestedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
              ComPtr<ICoreWebView2WebResourceRequest> request;
              args->get_Request(&request);
              CoTaskString uri;
              request->get_Uri(uri.Receive());
              seen_.push_back("resource " + Narrow(uri.View()));
              return S_OK;
            })
            .Get(),
        &token);
    if (navigate) {
      ASSERT_EQ(view_->Navigate(L"https://example.test/"), S_OK);
    }
  }

  bool Saw(const std::string& entry) const {
    return std::find(seen_.begin(), seen_.end(), entry) != seen_.end();
  }

  std::vector<std::string> seen_;
  std::optional<Clock::time_point> first_completed_at_;
  Clock::time_point message_at_;
};

TEST_F(ScriptTest, StimuliArriveInOrderOnceTheFirstNavigationCompleted) {
  Start(
      {
          R"({"do":"message","text":"pageLoaded"})",
          R"({"do":"messageJson","json":{"type":"requestPrint"}})",
          R"({"do":"messageJson","json":"toggleFullscreen"})",
          R"({"do":"navigate","uri":"https://example.test/next"})",
          R"({"do":"message","text":"after the navigation"})",
          R"({"do":"newWindow","uri":"https://popup.test/"})",
          R"({"do":"permission","kind":2})",
      },
      false);
  PumpFor(100);
  EXPECT_TRUE(seen_.empty()) << "stimuli played before the first navigation";

  ASSERT_EQ(view_->Navigate(L"https://example.test/"), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return Saw("permission 2"); }));
  EXPECT_EQ(seen_, (std::vector<std::string>{
                       "host starting https://example.test/",
                       "completed",
                       "message \"pageLoaded\" text pageLoaded",
                       "message {\"type\":\"requestPrint\"}",
                       "message \"toggleFullscreen\" text toggleFullscreen",
                       "page starting https://example.test/next",
                       "completed",
                       "message \"after the navigation\" text after the navigation",
                       "new window https://popup.test/",
                       "permission 2",
                   }));

  const auto messages = Events("WebMessageReceived");
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0]["json"], "\"pageLoaded\"");
  EXPECT_EQ(messages[0]["text"], "pageLoaded");
  EXPECT_EQ(messages[0]["source"], "https://example.test/");
  EXPECT_FALSE(messages[1].contains("text"));
  EXPECT_EQ(messages[3]["source"], "https://example.test/next");
  EXPECT_EQ(Events("NewWindowRequested").at(0)["handled"], true);
  const Json permission = Events("PermissionRequested").at(0);
  EXPECT_EQ(permission["kind"], 2);
  EXPECT_EQ(permission["state"], COREWEBVIEW2_PERMISSION_STATE_ALLOW);
  EXPECT_EQ(permission["uri"], "https://example.test/next");
}

TEST_F(ScriptTest, AfterMsDelaysAStimulus) {
  Start({R"({"do":"message","text":"late","afterMs":300})"});
  ASSERT_TRUE(PumpUntil([&] { return Saw("message \"late\" text late"); }));
  ASSERT_TRUE(first_completed_at_.has_value());
  EXPECT_GE(
      std::chrono::duration_cast<std::chrono::milliseconds>(message_at_ - *first_completed_at_)
          .count(),
      280);
}

// The filter without source kinds sees what documents request; a service worker's
// request needs the filter with source kinds.
TEST_F(ScriptTest, ResourceStimuliMeetTheFiltersWithTheirSourceKinds) {
  Start({
      R"({"do":"resource","uri":"https://cdn.test/doc.js","context":6})",
      R"({"do":"resource","uri":"https://cdn.test/worker.js","sourceKind":4})",
      R"({"do":"message","text":"done"})",
  });
  ASSERT_EQ(view_->AddWebResourceRequestedFilter(L"https://cdn.test/*",
                                                 COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL),
            S_OK);
  ComPtr<ICoreWebView2_22> view22;
  ASSERT_EQ(view_.As(&view22), S_OK);
  ASSERT_EQ(view22->AddWebResourceRequestedFilterWithRequestSourceKinds(
                L"*/worker.js", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL,
                COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL),
            S_OK);
  ASSERT_TRUE(PumpUntil([&] { return Saw("message \"done\" text done"); }));
  EXPECT_TRUE(Saw("resource https://cdn.test/doc.js"));
  EXPECT_TRUE(Saw("resource https://cdn.test/worker.js"));
  EXPECT_EQ(Events("WebResourceRequested").at(0)["context"], 6);

  // Without the variant with source kinds, the worker's request goes unseen.
  ASSERT_EQ(view22->RemoveWebResourceRequestedFilterWithRequestSourceKinds(
                L"*/worker.js", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL,
                COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL),
            S_OK);
  EXPECT_EQ(view22->RemoveWebResourceRequestedFilterWithRequestSourceKinds(
                L"*/worker.js", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL,
                COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL),
            E_INVALIDARG);
}

// What the host's print job sees: the settings it made, the outcome the script queued.
TEST_F(ScriptTest, PrintResultIsTheOutcomeOfTheNextPrint) {
  Start({R"({"do":"printResult","status":1,"hr":"0x00000000"})",
         R"({"do":"printResult","status":0,"hr":"0x80004005"})",
         R"({"do":"message","text":"ready"})"});
  ASSERT_TRUE(PumpUntil([&] { return Saw("message \"ready\" text ready"); }));

  ComPtr<ICoreWebView2Environment6> environment6;
  ASSERT_EQ(environment_.As(&environment6), S_OK);
  ComPtr<ICoreWebView2PrintSettings> settings;
  ASSERT_EQ(environment6->CreatePrintSettings(&settings), S_OK);
  ComPtr<ICoreWebView2PrintSettings2> settings2;
  ASSERT_EQ(settings.As(&settings2), S_OK);
  ASSERT_EQ(settings2->put_PrinterName(L"Office Laser"), S_OK);
  ComPtr<ICoreWebView2_16> view16;
  ASSERT_EQ(view_.As(&view16), S_OK);

  std::vector<std::pair<HRESULT, COREWEBVIEW2_PRINT_STATUS>> outcomes;
  auto completed = MakeCallback<ICoreWebView2PrintCompletedHandler>(
      [&](HRESULT code, COREWEBVIEW2_PRINT_STATUS status) {
        outcomes.emplace_back(code, status);
        return S_OK;
      });
  for (int job = 0; job < 3; ++job) {
    ASSERT_EQ(view16->Print(settings.Get(), completed.Get()), S_OK);
    EXPECT_EQ(outcomes.size(), static_cast<size_t>(job)) << "completed inside Print";
    ASSERT_TRUE(PumpUntil([&] { return outcomes.size() == static_cast<size_t>(job + 1); }));
  }
  EXPECT_EQ(outcomes, (std::vector<std::pair<HRESULT, COREWEBVIEW2_PRINT_STATUS>>{
                          {S_OK, COREWEBVIEW2_PRINT_STATUS_PRINTER_UNAVAILABLE},
                          {E_FAIL, COREWEBVIEW2_PRINT_STATUS_SUCCEEDED},
                          {S_OK, COREWEBVIEW2_PRINT_STATUS_SUCCEEDED}}));

  const auto prints = Calls("Print");
  ASSERT_EQ(prints.size(), 3u);
  EXPECT_EQ(prints[0]["printerName"], "Office Laser");
  EXPECT_EQ(Calls("put_PrinterName").at(0)["value"], "Office Laser");
  EXPECT_EQ(Calls("CreatePrintSettings").size(), 1u);
}

// A renderer that fails leaves the view usable; the browser process that fails takes its
// views with it: each hears of it, then closes, and the environment reports the end.
TEST_F(ScriptTest, ProcessFailuresReachTheViewAndTheBrowserProcessFailureClosesIt) {
  Start({
      R"({"do":"processFailed","kind":1})",
      R"({"do":"processFailed","kind":2})",
      R"({"do":"processFailed","kind":6})",
      R"({"do":"message","text":"still here"})",
      R"({"do":"processFailed","kind":0})",
      R"({"do":"message","text":"never played"})",
  });
  EventRegistrationToken token;
  ASSERT_EQ(view_->add_ProcessFailed(
                MakeCallback<ICoreWebView2ProcessFailedEventHandler>(
                    [this](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
                      COREWEBVIEW2_PROCESS_FAILED_KIND kind;
                      args->get_ProcessFailedKind(&kind);
                      seen_.push_back("failed " + std::to_string(kind));
                      return S_OK;
                    })
                    .Get(),
                &token),
            S_OK);
  ComPtr<ICoreWebView2Environment5> environment5;
  ASSERT_EQ(environment_.As(&environment5), S_OK);
  ASSERT_EQ(
      environment5->add_BrowserProcessExited(
          MakeCallback<ICoreWebView2BrowserProcessExitedEventHandler>(
              [this](ICoreWebView2Environment*, ICoreWebView2BrowserProcessExitedEventArgs* args) {
                COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind;
                args->get_BrowserProcessExitKind(&kind);
                seen_.push_back("browser exited " + std::to_string(kind));
                return S_OK;
              })
              .Get(),
          &token),
      S_OK);
  ASSERT_TRUE(PumpUntil([&] { return Saw("browser exited 1"); }));
  PumpFor(200);
  EXPECT_EQ(seen_, (std::vector<std::string>{"host starting https://example.test/", "completed",
                                             "failed 1", "failed 2", "failed 6",
                                             "message \"still here\" text still here", "failed 0",
                                             "browser exited 1"}));
  std::vector<int> kinds;
  for (const Json& event : Events("ProcessFailed")) kinds.push_back(event["kind"]);
  EXPECT_EQ(kinds, (std::vector<int>{1, 2, 6, 0}));
  EXPECT_EQ(view_->Navigate(L"https://example.test/"), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
  // The host still closes its controller, and nothing more is reported.
  EXPECT_EQ(controller_->Close(), S_OK);
  PumpFor(100);
  EXPECT_EQ(Events("BrowserProcessExited").size(), 1u);
}

// The script is played to every view; a "once" line only to the first that reaches it,
// as when a host starts its browser again after a failure the script caused.
TEST_F(ScriptTest, OnceLinesArePlayedToOneViewOfTheProcess) {
  Start({R"({"do":"message","text":"first view only","once":true})",
         R"({"do":"message","text":"every view"})"});
  ASSERT_TRUE(PumpUntil([&] { return Events("WebMessageReceived").size() == 2; }));
  const ComPtr<ICoreWebView2Controller> first = controller_;
  ASSERT_EQ(CreateController(), S_OK);
  ComPtr<ICoreWebView2> second;
  ASSERT_EQ(controller_->get_CoreWebView2(&second), S_OK);
  ASSERT_EQ(second->Navigate(L"https://example.test/again"), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return Events("WebMessageReceived").size() == 3; }));
  PumpFor(200);
  std::vector<std::string> texts;
  for (const Json& event : Events("WebMessageReceived")) texts.push_back(event["text"]);
  EXPECT_EQ(texts, (std::vector<std::string>{"first view only", "every view", "every view"}));
  first->Close();
}

TEST_F(ScriptTest, UnusableLinesAreReportedAndSkipped) {
  Start({
      "not json",
      R"({"do":"fly"})",
      R"({"do":"message"})",
      R"({"do":"message","text":"ok","afterMs":-5})",
      R"({"do":"message","text":"ok","once":1})",
      R"({"do":"processFailed"})",
      "",
      R"({"do":"message","text":"still played"})",
  });
  ASSERT_TRUE(PumpUntil([&] { return Saw("message \"still played\" text still played"); }));
  std::vector<std::string> errors;
  for (const Json& line : Log()) {
    if (line.contains("error")) errors.push_back(line["error"]);
  }
  ASSERT_EQ(errors.size(), 6u);
  EXPECT_NE(errors[0].find("line 1"), std::string::npos);
  EXPECT_NE(errors[1].find("fly"), std::string::npos);
  EXPECT_NE(errors[2].find("\"text\""), std::string::npos);
  EXPECT_NE(errors[3].find("afterMs"), std::string::npos);
  EXPECT_NE(errors[4].find("\"once\""), std::string::npos);
  EXPECT_NE(errors[5].find("\"kind\""), std::string::npos);
  EXPECT_EQ(Events("WebMessageReceived").size(), 1u);
}

}  // namespace
