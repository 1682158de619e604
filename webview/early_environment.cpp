#include "webview/early_environment.h"

#include "common/step_log.h"
#include "webview/com_helpers.h"
#include "webview/init_report.h"
#include "webview/runtime_loader.h"
#include "webview/webview_host.h"

namespace WebView {

using Microsoft::WRL::ComPtr;

struct EarlyEnvironment::Arrival {
  ComPtr<ICoreWebView2Environment> environment;
  ULONGLONG at = 0;
  bool abandoned = false;  // nobody will take it over any more
};

EarlyEnvironment::EarlyEnvironment(Runtime runtime, std::wstring folder)
    : runtime_(std::move(runtime)),
      folder_(std::move(folder)),
      attempt_(std::make_shared<AttemptState>()),
      arrival_(std::make_shared<Arrival>()) {}

EarlyEnvironment::~EarlyEnvironment() {
  arrival_->abandoned = true;
  arrival_->environment.Reset();
}

std::unique_ptr<EarlyEnvironment> EarlyEnvironment::Start(const std::wstring& userDataFolder) {
  if (userDataFolder.empty()) return nullptr;
  ClearRuntimeVariables();
  Runtime runtime = ChooseRuntime();
  std::wstring folder = FirstAttemptFolder(userDataFolder, runtime);
  const wchar_t* stage = L"";
  if (FAILED(PrepareAttempt(runtime, folder, stage))) return nullptr;

  std::unique_ptr<EarlyEnvironment> early(new EarlyEnvironment(std::move(runtime), folder));
  const DWORD thread = GetCurrentThreadId();
  auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
      [attempt = early->attempt_, arrival = early->arrival_, thread](
          HRESULT reported, ICoreWebView2Environment* environment) {
        if (SUCCEEDED(reported) && environment != nullptr) {
          StepLog("Step 6B: Browser environment arrived early");
          attempt->result = S_OK;
          attempt->stage = L"Complete";
          arrival->at = GetTickCount64();
          // Kept only for a taker: an abandoned one goes with this handler's return.
          if (!arrival->abandoned) arrival->environment = environment;
        } else {
          attempt->result = AsFailure(reported);
          attempt->stage = L"CreateEnvironmentCallback";
        }
        attempt->completed = true;
        PostThreadMessageW(thread, WM_NULL, 0, 0);
        return S_OK;
      });
  StepLog("Step 6B: Browser environment requested early");
  const EarlyEnvironment& started = *early;
  if (FAILED(CreateCoreWebView2EnvironmentWithOptions(
          started.runtime_.fixed() ? started.runtime_.browserFolder.c_str() : nullptr,
          started.folder_.c_str(), nullptr, handler.Get()))) {
    return nullptr;
  }
  return early;
}

ComPtr<ICoreWebView2Environment> EarlyEnvironment::TakeEnvironment() {
  return std::move(arrival_->environment);
}

ULONGLONG EarlyEnvironment::arrivedAt() const { return arrival_->at; }

}  // namespace WebView
