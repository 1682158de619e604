// Navigation as the host drives it, and the record the stand-in keeps of the host's
// calls.

#include <string>
#include <vector>

#include "tests/runtime_standin/standin_fixture.h"

namespace {

// Records the view's navigation events in the order they arrive.
class NavigationTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    CreateView();
    if (HasFatalFailure()) return;
    EventRegistrationToken token;
    view_->add_NavigationStarting(
        MakeCallback<ICoreWebView2NavigationStartingEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
              CoTaskString uri;
              args->get_Uri(uri.Receive());
              seen_.push_back("starting " + Narrow(uri.View()));
              if (cancel_) args->put_Cancel(TRUE);
              if (on_starting_) on_starting_(args);
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
              if (on_resource_) on_resource_(args);
              return S_OK;
            })
            .Get(),
        &token);
    view_->add_NavigationCompleted(
        MakeCallback<ICoreWebView2NavigationCompletedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
              BOOL success = FALSE;
              args->get_IsSuccess(&success);
              args->get_WebErrorStatus(&status_);
              seen_.push_back(success ? "completed" : "failed");
              ++completions_;
              return S_OK;
            })
            .Get(),
        &token);
  }

  // Pumps until `count` more navigations have completed.
  void WaitForCompletions(int count = 1) {
    const int target = completions_ + count;
    ASSERT_TRUE(PumpUntil([&] { return completions_ >= target; }));
  }

  std::string Source() {
    CoTaskString source;
    view_->get_Source(source.Receive());
    return Narrow(source.View());
  }

  std::vector<std::string> seen_;
  int completions_ = 0;
  bool cancel_ = false;
  COREWEBVIEW2_WEB_ERROR_STATUS status_ = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
  std::function<void(ICoreWebView2NavigationStartingEventArgs*)> on_starting_;
  std::function<void(ICoreWebView2WebResourceRequestedEventArgs*)> on_resource_;
};

TEST_F(NavigationTest, NavigateRaisesStartingThenTheDocumentRequestThenCompleted) {
  ASSERT_EQ(view_->AddWebResourceRequestedFilter(L"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL),
            S_OK);
  on_resource_ = [](ICoreWebView2WebResourceRequestedEventArgs* args) {
    ComPtr<ICoreWebView2WebResourceRequest> request;
    args->get_Request(&request);
    ComPtr<ICoreWebView2HttpRequestHeaders> headers;
    request->get_Headers(&headers);
    headers->SetHeader(L"X-Player", L"1");
  };
  ASSERT_EQ(view_->Navigate(L"https://example.test/lesson?id=7"), S_OK);
  EXPECT_TRUE(seen_.empty()) << "an event was raised inside Navigate";
  WaitForCompletions();

  EXPECT_EQ(seen_,
            (std::vector<std::string>{"starting https://example.test/lesson?id=7",
                                      "resource https://example.test/lesson?id=7", "completed"}));
  EXPECT_EQ(Source(), "https://example.test/lesson?id=7");

  // The log in the same order, with the host's answers.
  std::vector<Json> lines;
  for (const Json& line : Log()) {
    if (line.contains("t") && (line.value("call", "") == "Navigate" || line.contains("event"))) {
      lines.push_back(line);
    }
  }
  ASSERT_GE(lines.size(), 5u);
  const size_t first = lines.size() - 4;  // after the creation events
  EXPECT_EQ(lines[first]["call"], "Navigate");
  EXPECT_EQ(lines[first]["uri"], "https://example.test/lesson?id=7");
  EXPECT_EQ(lines[first + 1]["event"], "NavigationStarting");
  EXPECT_EQ(lines[first + 1]["cancelled"], false);
  EXPECT_EQ(lines[first + 2]["event"], "WebResourceRequested");
  EXPECT_EQ(lines[first + 2]["headers"], (Json{{"X-Player", "1"}}));
  EXPECT_EQ(lines[first + 2]["response"], nullptr);
  EXPECT_EQ(lines[first + 2]["context"], COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT);
  EXPECT_EQ(lines[first + 3]["event"], "NavigationCompleted");
  EXPECT_EQ(lines[first + 3]["success"], true);
  EXPECT_LE(lines[first]["t"].get<long long>(), lines[first + 3]["t"].get<long long>());
}

TEST_F(NavigationTest, ACancelledNavigationRequestsNothingAndLeavesTheAddress) {
  ASSERT_EQ(view_->AddWebResourceRequestedFilter(L"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL),
            S_OK);
  ASSERT_EQ(view_->Navigate(L"https://example.test/first"), S_OK);
  WaitForCompletions();
  seen_.clear();

  cancel_ = true;
  ASSERT_EQ(view_->Navigate(L"https://elsewhere.test/"), S_OK);
  WaitForCompletions();
  EXPECT_EQ(seen_, (std::vector<std::string>{"starting https://elsewhere.test/", "failed"}));
  EXPECT_EQ(status_, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
  EXPECT_EQ(Source(), "https://example.test/first");

  const auto starting = Events("NavigationStarting");
  ASSERT_EQ(starting.size(), 2u);
  EXPECT_EQ(starting[1]["cancelled"], true);
  EXPECT_EQ(Events("WebResourceRequested").size(), 1u);
}

// The response the host sets is what the page gets: an error status fails the document.
TEST_F(NavigationTest, AResponseSetByTheHostIsLoggedAndAnErrorFailsTheNavigation) {
  ASSERT_EQ(
      view_->AddWebResourceRequestedFilter(L"https://*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL),
      S_OK);
  on_resource_ = [this](ICoreWebView2WebResourceRequestedEventArgs* args) {
    ComPtr<ICoreWebView2WebResourceResponse> response;
    environment_->CreateWebResourceResponse(nullptr, 403, L"Blocked", L"Content-Type: text/plain",
                                            &response);
    args->put_Response(response.Get());
  };
  ASSERT_EQ(view_->Navigate(L"https://pinned.test/"), S_OK);
  WaitForCompletions();
  EXPECT_EQ(seen_.back(), "failed");
  const auto requested = Events("WebResourceRequested");
  ASSERT_EQ(requested.size(), 1u);
  EXPECT_EQ(requested[0]["response"], (Json{{"status", 403},
                                            {"reason", "Blocked"},
                                            {"headers", {{"Content-Type", "text/plain"}}}}));
  EXPECT_EQ(Events("NavigationCompleted").back()["success"], false);

  // Outside the filter's pattern nothing is seen.
  on_resource_ = nullptr;
  ASSERT_EQ(view_->Navigate(L"http://plain.test/"), S_OK);
  WaitForCompletions();
  EXPECT_EQ(seen_.back(), "completed");
  EXPECT_EQ(Events("WebResourceRequested").size(), 1u);
}

TEST_F(NavigationTest, ARequestsMethodAndHeadersReachStartingAndTheDocumentRequest) {
  ASSERT_EQ(view_->AddWebResourceRequestedFilter(L"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT),
            S_OK);
  ComPtr<ICoreWebView2Environment2> environment2;
  ASSERT_EQ(environment_.As(&environment2), S_OK);
  ComPtr<ICoreWebView2WebResourceRequest> request;
  ASSERT_EQ(environment2->CreateWebResourceRequest(L"https://example.test/f1", L"GET", nullptr, L"",
                                                   &request),
            S_OK);
  ComPtr<ICoreWebView2HttpRequestHeaders> headers;
  ASSERT_EQ(request->get_Headers(&headers), S_OK);
  ASSERT_EQ(headers->SetHeader(L"X-Client", L"quorvel"), S_OK);
  ASSERT_EQ(headers->SetHeader(L"X-Machine", L"m1"), S_OK);

  std::string seen_in_starting;
  on_starting_ = [&](ICoreWebView2NavigationStartingEventArgs* args) {
    ComPtr<ICoreWebView2HttpRequestHeaders> starting_headers;
    args->get_RequestHeaders(&starting_headers);
    CoTaskString value;
    if (SUCCEEDED(starting_headers->GetHeader(L"x-client", value.Receive()))) {
      seen_in_starting = Narrow(value.View());
    }
  };
  ComPtr<ICoreWebView2_2> view2;
  ASSERT_EQ(view_.As(&view2), S_OK);
  ASSERT_EQ(view2->NavigateWithWebResourceRequest(request.Get()), S_OK);
  WaitForCompletions();
  EXPECT_EQ(seen_in_starting, "quorvel");

  const Json expected_headers = {{"X-Client", "quorvel"}, {"X-Machine", "m1"}};
  const auto call = Calls("NavigateWithWebResourceRequest");
  ASSERT_EQ(call.size(), 1u);
  EXPECT_EQ(call[0]["uri"], "https://example.test/f1");
  EXPECT_EQ(call[0]["method"], "GET");
  EXPECT_EQ(call[0]["headers"], expected_headers);
  const auto requested = Events("WebResourceRequested");
  ASSERT_EQ(requested.size(), 1u);
  EXPECT_EQ(requested[0]["headers"], expected_headers);
}

TEST_F(NavigationTest, AStringDocumentGoingBackAndReloading) {
  ASSERT_EQ(view_->AddWebResourceRequestedFilter(L"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL),
            S_OK);
  ASSERT_EQ(view_->NavigateToString(L"<p>Hello</p>"), S_OK);
  WaitForCompletions();
  EXPECT_EQ(seen_, (std::vector<std::string>{"starting about:blank", "completed"}));
  EXPECT_EQ(Calls("NavigateToString").at(0)["html"], "<p>Hello</p>");

  ASSERT_EQ(view_->Navigate(L"https://example.test/a"), S_OK);
  WaitForCompletions();
  ASSERT_EQ(view_->Navigate(L"https://example.test/b"), S_OK);
  WaitForCompletions();
  BOOL can_go_back = FALSE;
  ASSERT_EQ(view_->get_CanGoBack(&can_go_back), S_OK);
  EXPECT_TRUE(can_go_back);

  seen_.clear();
  ASSERT_EQ(view_->GoBack(), S_OK);
  WaitForCompletions();
  EXPECT_EQ(seen_, (std::vector<std::string>{"starting https://example.test/a",
                                             "resource https://example.test/a", "completed"}));
  EXPECT_EQ(Source(), "https://example.test/a");

  seen_.clear();
  ASSERT_EQ(view_->Reload(), S_OK);
  WaitForCompletions();
  EXPECT_EQ(seen_.front(), "starting https://example.test/a");
  ASSERT_EQ(view_->GoBack(), S_OK);
  WaitForCompletions();
  EXPECT_EQ(Source(), "about:blank");
  EXPECT_EQ(Calls("GoBack").size(), 2u);
  EXPECT_EQ(Calls("Reload").size(), 1u);
}

TEST_F(NavigationTest, ANewNavigationReplacesOneOnItsWay) {
  ASSERT_EQ(view_->Navigate(L"https://example.test/slow"), S_OK);
  ASSERT_EQ(view_->Navigate(L"https://example.test/fast"), S_OK);
  WaitForCompletions();
  PumpFor(50);
  EXPECT_EQ(seen_, (std::vector<std::string>{"starting https://example.test/fast", "completed"}));
  EXPECT_EQ(Source(), "https://example.test/fast");
}

// The host's appearance, settings, scripts and messages, each logged by its name with its
// arguments.
TEST_F(NavigationTest, HostCallsAreLoggedWithTheirArguments) {
  ComPtr<ICoreWebView2Controller2> controller2;
  ASSERT_EQ(controller_.As(&controller2), S_OK);
  ASSERT_EQ(controller2->put_DefaultBackgroundColor({0xFF, 0x12, 0x12, 0x12}), S_OK);
  ASSERT_EQ(controller_->put_Bounds({0, 0, 800, 600}), S_OK);
  ASSERT_EQ(controller_->put_IsVisible(FALSE), S_OK);
  ASSERT_EQ(controller_->NotifyParentWindowPositionChanged(), S_OK);

  ComPtr<ICoreWebView2Settings> settings;
  ASSERT_EQ(view_->get_Settings(&settings), S_OK);
  ASSERT_EQ(settings->put_AreDevToolsEnabled(FALSE), S_OK);
  ComPtr<ICoreWebView2Settings7> settings7;
  ASSERT_EQ(settings.As(&settings7), S_OK);
  ASSERT_EQ(settings7->put_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS_NONE), S_OK);

  std::wstring script_id;
  ASSERT_EQ(view_->AddScriptToExecuteOnDocumentCreated(
                L"window.x = 1;",
                MakeCallback<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>(
                    [&](HRESULT, LPCWSTR id) {
                      script_id = id;
                      return S_OK;
                    })
                    .Get()),
            S_OK);
  EXPECT_TRUE(script_id.empty()) << "completed inside the call";
  ASSERT_TRUE(PumpUntil([&] { return !script_id.empty(); }));

  ASSERT_EQ(view_->PostWebMessageAsJson(L"{\"type\":\"printResult\",\"status\":\"cancelled\"}"),
            S_OK);
  EXPECT_EQ(view_->PostWebMessageAsJson(L"{not json"), E_INVALIDARG);
  EXPECT_EQ(view_->Navigate(L"no scheme"), E_INVALIDARG);

  EXPECT_EQ(Calls("put_DefaultBackgroundColor").at(0),
            (Json{{"t", Calls("put_DefaultBackgroundColor").at(0)["t"]},
                  {"call", "put_DefaultBackgroundColor"},
                  {"a", 255},
                  {"r", 18},
                  {"g", 18},
                  {"b", 18}}));
  const Json bounds = Calls("put_Bounds").at(0);
  EXPECT_EQ(bounds["left"], 0);
  EXPECT_EQ(bounds["right"], 800);
  EXPECT_EQ(bounds["bottom"], 600);
  EXPECT_EQ(Calls("put_IsVisible").at(0)["value"], false);
  EXPECT_EQ(Calls("NotifyParentWindowPositionChanged").size(), 1u);
  EXPECT_EQ(Calls("put_AreDevToolsEnabled").at(0)["value"], false);
  EXPECT_EQ(Calls("put_HiddenPdfToolbarItems").at(0)["value"], 0);
  const Json script = Calls("AddScriptToExecuteOnDocumentCreated").at(0);
  EXPECT_EQ(script["script"], "window.x = 1;");
  EXPECT_EQ(script["id"], Narrow(script_id));
  const auto posted = Calls("PostWebMessageAsJson");
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0]["json"], "{\"type\":\"printResult\",\"status\":\"cancelled\"}");
  EXPECT_FALSE(posted[0].contains("hr"));
  EXPECT_EQ(posted[1]["hr"], "0x80070057");
  EXPECT_EQ(Calls("add_NavigationStarting").size(), 1u);
}

}  // namespace
