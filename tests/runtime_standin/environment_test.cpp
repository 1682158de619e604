// Finding and entering the stand-in, creation of environment, controller and view
// through the message loop, the failures and missing interfaces a test can ask for,
// and the end of the browser process.

#include <objbase.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/runtime_standin/standin_fixture.h"
#include "webview/runtime_loader.h"

namespace {

TEST_F(StandinTest, TheLoaderFindsItAsAFixedVersionRuntimeWithItsVersion) {
  CoTaskString version;
  ASSERT_EQ(
      GetAvailableCoreWebView2BrowserVersionString(RuntimeFolder().c_str(), version.Receive()),
      S_OK);
  EXPECT_EQ(Narrow(version.View()), "120.0.2210.91");

  ASSERT_EQ(CreateEnvironment(), S_OK);
  ASSERT_EQ(environment_->get_BrowserVersionString(version.Receive()), S_OK);
  EXPECT_EQ(Narrow(version.View()), "120.0.2210.91");

  const auto entered = Calls("CreateWebViewEnvironmentWithOptionsInternal");
  ASSERT_EQ(entered.size(), 1u);
  EXPECT_EQ(entered[0]["runtimeType"], 1);  // fixed version
  EXPECT_EQ(entered[0]["checkRunningInstance"], true);
  EXPECT_EQ(entered[0]["userDataFolder"], Narrow(folder_ + L"\\data"));
}

TEST_F(StandinTest, EnvironmentControllerAndViewArriveThroughTheCallersMessageLoop) {
  // CreateEnvironment and CreateController fail the test if a completion runs inside
  // its call; here also the thread it runs on.
  const DWORD thread = GetCurrentThreadId();
  DWORD completed_on = 0;
  auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
      [&](HRESULT, ICoreWebView2Environment* environment) {
        completed_on = GetCurrentThreadId();
        environment_ = environment;
        return S_OK;
      });
  ASSERT_EQ(CreateCoreWebView2EnvironmentWithOptions(
                RuntimeFolder().c_str(), (folder_ + L"\\data").c_str(), nullptr, handler.Get()),
            S_OK);
  EXPECT_EQ(completed_on, 0u);
  ASSERT_TRUE(PumpUntil([&] { return completed_on != 0; }));
  EXPECT_EQ(completed_on, thread);

  ASSERT_EQ(CreateController(), S_OK);
  ASSERT_EQ(controller_->get_CoreWebView2(view_.ReleaseAndGetAddressOf()), S_OK);
  ASSERT_NE(view_, nullptr);
  CoTaskString source;
  ASSERT_EQ(view_->get_Source(source.Receive()), S_OK);
  EXPECT_EQ(Narrow(source.View()), "about:blank");
}

// QUORVEL_RUNTIME_FAIL names the host's stage texts; each makes its step fail with the
// code given, E_FAIL without one.
TEST_F(StandinTest, EachFailStageFailsItsStepWithItsCode) {
  const HRESULT denied = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

  SetFail(L"CreateEnvironmentCall:0x80070005");
  EXPECT_EQ(CreateEnvironment(), denied);
  EXPECT_EQ(environment_, nullptr);

  SetFail(L"CreateEnvironmentCallback");
  EXPECT_EQ(CreateEnvironment(), E_FAIL);
  EXPECT_EQ(environment_, nullptr);

  SetFail(L"CreateControllerCall:-2147024891");  // the same code, in decimal
  ASSERT_EQ(CreateEnvironment(), S_OK);
  EXPECT_EQ(CreateController(), denied);

  SetFail(L"CreateControllerCallback:0x8007000E");
  ASSERT_EQ(CreateEnvironment(), S_OK);
  EXPECT_EQ(CreateController(), E_OUTOFMEMORY);
  EXPECT_EQ(controller_, nullptr);

  SetFail(L"GetCoreWebView2");
  ASSERT_EQ(CreateEnvironment(), S_OK);
  ASSERT_EQ(CreateController(), S_OK);
  ICoreWebView2* view = reinterpret_cast<ICoreWebView2*>(0x1);
  EXPECT_EQ(controller_->get_CoreWebView2(&view), E_FAIL);
  EXPECT_EQ(view, nullptr);

  SetFail(L"NoSuchStage");
  ASSERT_EQ(CreateEnvironment(), S_OK);
  bool reported = false;
  for (const Json& line : Log()) {
    reported = reported || line.value("error", "").find("NoSuchStage") != std::string::npos;
  }
  EXPECT_TRUE(reported) << "an unknown stage is reported in the log";
}

// "STAGE:0" claims success without an object: a call that never completes, a completion
// with nothing in it.
TEST_F(StandinTest, AFailStageWithASuccessCodeGivesNoObject) {
  SetFail(L"CreateControllerCallback:0");
  ASSERT_EQ(CreateEnvironment(), S_OK);
  EXPECT_EQ(CreateController(), S_OK);
  EXPECT_EQ(controller_, nullptr);

  SetFail(L"CreateEnvironmentCall:0");
  bool completed = false;
  auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
      [&](HRESULT, ICoreWebView2Environment*) { return completed = true, S_OK; });
  EXPECT_EQ(CreateCoreWebView2EnvironmentWithOptions(
                RuntimeFolder().c_str(), (folder_ + L"\\data").c_str(), nullptr, handler.Get()),
            S_OK);
  PumpFor(200);
  EXPECT_FALSE(completed);
}

TEST_F(StandinTest, LackedInterfacesAreRefusedAndTheirPredecessorsStillAnswer) {
  SetLack(L"ICoreWebView2_22, ICoreWebView2Environment6,ICoreWebView2Settings7");
  CreateView();

  ComPtr<ICoreWebView2_22> view22;
  EXPECT_EQ(view_.As(&view22), E_NOINTERFACE);
  EXPECT_EQ(view22, nullptr);
  ComPtr<ICoreWebView2_21> view21;
  EXPECT_EQ(view_.As(&view21), S_OK);
  ComPtr<ICoreWebView2_16> view16;
  EXPECT_EQ(view_.As(&view16), S_OK);

  ComPtr<ICoreWebView2Environment6> environment6;
  EXPECT_EQ(environment_.As(&environment6), E_NOINTERFACE);
  ComPtr<ICoreWebView2Environment5> environment5;
  EXPECT_EQ(environment_.As(&environment5), S_OK);

  ComPtr<ICoreWebView2Settings> settings;
  ASSERT_EQ(view_->get_Settings(&settings), S_OK);
  ComPtr<ICoreWebView2Settings7> settings7;
  EXPECT_EQ(settings.As(&settings7), E_NOINTERFACE);
  ComPtr<ICoreWebView2Settings3> settings3;
  EXPECT_EQ(settings.As(&settings3), S_OK);

  ComPtr<ICoreWebView2Controller4> controller4;
  EXPECT_EQ(controller_.As(&controller4), S_OK);
}

// The host's shutdown closes the controller, lets go of everything but the environment
// and waits for the browser process to end, dispatching only COM calls meanwhile. The
// news must reach it there, not after its time-out.
TEST_F(StandinTest, TheBrowserProcessEndsWhenTheLastControllerClosesAndTheWaitSeesIt) {
  CreateView();
  ComPtr<ICoreWebView2Environment5> environment5;
  ASSERT_EQ(environment_.As(&environment5), S_OK);
  HANDLE exited = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind = COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED;
  EventRegistrationToken token = {};
  ASSERT_EQ(
      environment5->add_BrowserProcessExited(
          MakeCallback<ICoreWebView2BrowserProcessExitedEventHandler>(
              [&](ICoreWebView2Environment*, ICoreWebView2BrowserProcessExitedEventArgs* args) {
                args->get_BrowserProcessExitKind(&kind);
                SetEvent(exited);
                return S_OK;
              })
              .Get(),
          &token),
      S_OK);
  UINT32 process = 1;
  ASSERT_EQ(view_->get_BrowserProcessId(&process), S_OK);
  EXPECT_EQ(process, 0u);

  ASSERT_EQ(controller_->Close(), S_OK);
  EXPECT_EQ(WaitForSingleObject(exited, 0), WAIT_TIMEOUT) << "raised inside Close";
  view_.Reset();
  controller_.Reset();
  environment_.Reset();
  const auto start = std::chrono::steady_clock::now();
  DWORD index = 0;
  const HRESULT waited = CoWaitForMultipleHandles(COWAIT_DISPATCH_CALLS, 5000, 1, &exited, &index);
  const auto waited_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
  EXPECT_EQ(waited, S_OK);
  EXPECT_LT(waited_ms, 1000);
  EXPECT_EQ(kind, COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL);
  EXPECT_EQ(environment5->remove_BrowserProcessExited(token), S_OK);
  environment5.Reset();
  CloseHandle(exited);

  EXPECT_EQ(Events("BrowserProcessExited").size(), 1u);
  EXPECT_EQ(Calls("Close").size(), 1u);
}

TEST_F(StandinTest, AClosedOrForeignThreadCallIsRefused) {
  CreateView();
  HRESULT from_other_thread = S_OK;
  std::thread([&] { from_other_thread = view_->Navigate(L"https://example.test/"); }).join();
  EXPECT_EQ(from_other_thread, RPC_E_WRONG_THREAD);

  ASSERT_EQ(controller_->Close(), S_OK);
  EXPECT_EQ(view_->Navigate(L"https://example.test/"), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
  EXPECT_EQ(controller_->put_IsVisible(TRUE), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
}

}  // namespace
