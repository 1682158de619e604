#include "tests/runtime_standin/standin_fixture.h"

#include <objbase.h>

#include <filesystem>
#include <fstream>

#include "common/text.h"
#include "common/wide_text.h"
#include "common/windows_paths.h"
#include "webview/runtime_loader.h"

namespace {

const wchar_t* const kSettings[] = {L"QUORVEL_RUNTIME_LOG",
                                    L"QUORVEL_RUNTIME_SCRIPT",
                                    L"QUORVEL_RUNTIME_FAIL",
                                    L"QUORVEL_RUNTIME_LACK",
                                    L"QUORVEL_RUNTIME_ENGINE",
                                    L"QUORVEL_RUNTIME_CHROMIUM",
                                    L"QUORVEL_RUNTIME_CHROMIUM_ARGS",
                                    L"QUORVEL_RUNTIME_PRINT_DIR",
                                    L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER",
                                    L"WEBVIEW2_USER_DATA_FOLDER"};

std::vector<Json> Lines(const std::vector<Json>& log, const char* kind, const std::string& name) {
  std::vector<Json> lines;
  for (const Json& line : log) {
    if (line.value(kind, "") == name) lines.push_back(line);
  }
  return lines;
}

}  // namespace

std::string Narrow(std::wstring_view text) { return Utf16ToUtf8(FromWide(text)); }

std::wstring RuntimeFolder() { return ExecutableFolder() + L"\\runtime"; }

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (true) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr,
                                static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)),
                                QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

void StandinTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  for (const wchar_t* name : kSettings) SetEnvironmentVariableW(name, nullptr);

  static int test_number = 0;
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  folder_ = std::wstring(temp) + L"quorvel-standin-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(++test_number);
  std::filesystem::create_directories(folder_);
  log_path_ = folder_ + L"\\runtime.log";
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_LOG", log_path_.c_str());

  live_at_start_ = LiveObjects();
  parent_ =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(parent_, nullptr);
}

void StandinTest::TearDown() {
  if (controller_ != nullptr) controller_->Close();
  view_.Reset();
  controller_.Reset();
  environment_.Reset();
  // What the stand-in still has posted (the end of the browser process, for one) holds
  // references until it ran.
  PumpFor(100);
  EXPECT_EQ(LiveObjects(), live_at_start_)
      << "objects of the stand-in outlive everything the test held";
  DestroyWindow(parent_);
  for (const wchar_t* name : kSettings) SetEnvironmentVariableW(name, nullptr);
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
  CoUninitialize();
}

void StandinTest::SetFail(const wchar_t* value) {
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_FAIL", value);
}

void StandinTest::SetLack(const wchar_t* value) {
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_LACK", value);
}

void StandinTest::SetScript(const std::vector<std::string>& lines) {
  const std::wstring path = folder_ + L"\\script.jsonl";
  std::ofstream file(std::filesystem::path(path), std::ios::binary);
  for (const std::string& line : lines) file << line << "\n";
  SetEnvironmentVariableW(L"QUORVEL_RUNTIME_SCRIPT", path.c_str());
}

std::vector<Json> StandinTest::Log() const {
  std::vector<Json> lines;
  std::ifstream file(std::filesystem::path(log_path_), std::ios::binary);
  std::string text;
  while (std::getline(file, text)) {
    Json line = Json::parse(text, nullptr, false);
    EXPECT_FALSE(line.is_discarded()) << "not JSON: " << text;
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<Json> StandinTest::Calls(const std::string& name) const {
  return Lines(Log(), "call", name);
}

std::vector<Json> StandinTest::Events(const std::string& name) const {
  return Lines(Log(), "event", name);
}

HRESULT StandinTest::CreateEnvironment() {
  bool completed = false;
  HRESULT reported = E_PENDING;
  auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
      [&](HRESULT code, ICoreWebView2Environment* environment) {
        completed = true;
        reported = code;
        environment_ = environment;
        return S_OK;
      });
  const std::wstring user_data = folder_ + L"\\data";
  const HRESULT called = CreateCoreWebView2EnvironmentWithOptions(
      RuntimeFolder().c_str(), user_data.c_str(), nullptr, handler.Get());
  if (called != S_OK) return called;
  EXPECT_FALSE(completed) << "the completion ran inside the call";
  EXPECT_TRUE(PumpUntil([&] { return completed; }));
  return reported;
}

HRESULT StandinTest::CreateController() {
  bool completed = false;
  HRESULT reported = E_PENDING;
  auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
      [&](HRESULT code, ICoreWebView2Controller* controller) {
        completed = true;
        reported = code;
        controller_ = controller;
        return S_OK;
      });
  const HRESULT called = environment_->CreateCoreWebView2Controller(parent_, handler.Get());
  if (called != S_OK) return called;
  EXPECT_FALSE(completed) << "the completion ran inside the call";
  EXPECT_TRUE(PumpUntil([&] { return completed; }));
  return reported;
}

void StandinTest::CreateView() {
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(CreateEnvironment(), S_OK);
  ASSERT_NE(environment_, nullptr);
  ASSERT_EQ(CreateController(), S_OK);
  ASSERT_NE(controller_, nullptr);
  ASSERT_EQ(controller_->get_CoreWebView2(view_.ReleaseAndGetAddressOf()), S_OK);
  ASSERT_NE(view_, nullptr);
}

long StandinTest::LiveObjects() const {
  HMODULE standin = GetModuleHandleW(L"EmbeddedBrowserWebView.dll");
  if (standin == nullptr) return 0;  // never loaded: nothing can be alive
  auto count = reinterpret_cast<long(STDMETHODCALLTYPE*)()>(
      reinterpret_cast<void*>(GetProcAddress(standin, "QuorvelStandinLiveObjects")));
  return count != nullptr ? count() : -1;
}
