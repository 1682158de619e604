// The browser environment started before its window, against the runtime stand-in: the
// host's first attempt takes it over instead of creating another, also while it is still
// coming; a failed early start leaves the attempts as they were; one nobody took over
// leaves nothing of the runtime behind.
#include "webview/early_environment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "webview/webview_host.h"

namespace {

using nlohmann::json;
using WebView::EarlyEnvironment;
using WebView::WebViewHost;

constexpr char kCreate[] = "CreateWebViewEnvironmentWithOptionsInternal";

class EarlyEnvironmentTest : public testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"parent", 0, 0, 0, 800, 600, HWND_MESSAGE, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = std::wstring(base) + L"quorvel-early-test\\" + std::wstring(name.begin(), name.end());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    data_ = folder_ + L"\\Data";
    log_ = folder_ + L"\\runtime.log";
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_LOG", log_.c_str());
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent_);
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", nullptr);
  }

  // Runs the thread's messages for `ms` milliseconds, or until `done` says so.
  template <typename Done>
  void Pump(DWORD ms, Done done) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (!done() && GetTickCount64() < end) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
  }

  // The stand-in's log lines of the call `name`, or of the event `event`.
  std::vector<json> Calls(const std::string& name, const std::string& event = "") const {
    std::vector<json> lines;
    std::ifstream file{std::filesystem::path(log_)};
    for (std::string line; std::getline(file, line);) {
      if (line.empty()) continue;
      const json entry = json::parse(line);
      if (event.empty() ? entry.value("call", "") == name : entry.value("event", "") == event) {
        lines.push_back(entry);
      }
    }
    return lines;
  }

  static long LiveObjects() {
    const HMODULE standin = GetModuleHandleW(L"EmbeddedBrowserWebView.dll");
    if (standin == nullptr) return 0;
    auto count = reinterpret_cast<long(STDMETHODCALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(standin, "QuorvelStandinLiveObjects")));
    return count != nullptr ? count() : -1;
  }

  HWND parent_ = nullptr;
  std::wstring folder_;
  std::wstring data_;
  std::wstring log_;
};

TEST_F(EarlyEnvironmentTest, TheFirstAttemptTakesItOverArrivedOrStillComing) {
  for (const bool arrived : {true, false}) {
    SCOPED_TRACE(arrived ? "arrived" : "still coming");
    const std::size_t before = Calls(kCreate).size();
    std::unique_ptr<EarlyEnvironment> early = EarlyEnvironment::Start(data_);
    ASSERT_NE(early, nullptr);
    if (arrived) Pump(5000, [&] { return early->attempt().completed; });
    ASSERT_EQ(early->attempt().completed, arrived);
    {
      WebViewHost host;
      ASSERT_TRUE(host.Initialize(parent_, data_, 1, std::move(early)));
      EXPECT_EQ(host.statusMessage(), L"WebView2 initialized with Fixed 120.0.2210.91; userData=" +
                                          data_ + L"_Fixed_Env5");
      const std::vector<json> created = Calls(kCreate);
      ASSERT_EQ(created.size(), before + 1) << "a second environment was created";
      EXPECT_EQ(created.back()["userDataFolder"],
                std::filesystem::path(data_ + L"_Fixed_Env5").string());
      host.Shutdown(0);
    }
    Pump(2000, [] { return LiveObjects() == 0; });
    EXPECT_EQ(LiveObjects(), 0);
  }
}

// An early start refused at once gives nothing to take over; one whose creation failed
// later is waited for and then left: the attempt is made as always, and succeeds.
TEST_F(EarlyEnvironmentTest, AFailedEarlyStartLeavesTheAttemptsAsTheyWere) {
  for (const wchar_t* stage : {L"CreateEnvironmentCall", L"CreateEnvironmentCallback"}) {
    SCOPED_TRACE(std::filesystem::path(stage).string());
    const std::size_t before = Calls(kCreate).size();
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL",
                            (std::wstring(stage) + L":0x80004321").c_str());
    std::unique_ptr<EarlyEnvironment> early = EarlyEnvironment::Start(data_);
    EXPECT_EQ(early == nullptr, std::wstring(stage) == L"CreateEnvironmentCall");
    SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", nullptr);  // read per environment
    WebViewHost host;
    EXPECT_TRUE(host.Initialize(parent_, data_, 1, std::move(early)))
        << std::filesystem::path(host.statusMessage()).string();
    EXPECT_EQ(host.lastError(), S_OK);
    EXPECT_EQ(Calls(kCreate).size(), before + 2);
    host.Shutdown(0);
  }
}

// Another folder than the early one's is another environment: it is not taken over.
TEST_F(EarlyEnvironmentTest, AnotherFolderGetsItsOwnEnvironment) {
  std::unique_ptr<EarlyEnvironment> early = EarlyEnvironment::Start(data_);
  ASSERT_NE(early, nullptr);
  WebViewHost host;
  ASSERT_TRUE(host.Initialize(parent_, folder_ + L"\\Other", 1, std::move(early)));
  const std::vector<json> created = Calls(kCreate);
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created[1]["userDataFolder"],
            std::filesystem::path(folder_ + L"\\Other_Fixed_Env5").string());
  host.Shutdown(0);
}

// A link that fails, or an update that ends the run, lets go of the early environment
// before or after it arrived: nothing of it stays alive.
TEST_F(EarlyEnvironmentTest, OneNobodyTookOverLeavesNothingBehind) {
  for (const bool arrived : {true, false}) {
    SCOPED_TRACE(arrived ? "arrived" : "still coming");
    const std::size_t before = Calls("", "CreateEnvironmentCompleted").size();
    std::unique_ptr<EarlyEnvironment> early = EarlyEnvironment::Start(data_);
    ASSERT_NE(early, nullptr);
    if (arrived) Pump(5000, [&] { return early->attempt().completed; });
    early.reset();
    // One still coming arrives now, to nobody.
    Pump(5000, [&] { return Calls("", "CreateEnvironmentCompleted").size() > before; });
    ASSERT_EQ(Calls("", "CreateEnvironmentCompleted").size(), before + 1);
    Pump(2000, [] { return LiveObjects() == 0; });
    EXPECT_EQ(LiveObjects(), 0);
  }
}

}  // namespace
