// The runtime's entry point, as the loader calls it, and the stand-in's count of live
// objects.

#include <atomic>

#include "tools/runtime-standin/chromium_browser.h"
#include "tools/runtime-standin/com_object.h"
#include "tools/runtime-standin/dispatch.h"
#include "tools/runtime-standin/environment.h"

namespace standin {
namespace {

std::atomic<long> live_objects{0};

}  // namespace

long LiveObjects() { return live_objects; }

void CountLiveObject(long change) { live_objects += change; }

}  // namespace standin

// Reads the test's settings (config.h), then creates the environment and hands it to
// `handler` in a later turn of the calling thread's message loop. Logged as
// {"call":"CreateWebViewEnvironmentWithOptionsInternal","checkRunningInstance":…,
// "runtimeType":…,"userDataFolder":…} and {"event":"CreateEnvironmentCompleted","hr":…}.
extern "C" HRESULT STDMETHODCALLTYPE CreateWebViewEnvironmentWithOptionsInternal(
    bool check_running_instance, int runtime_type, PCWSTR user_data_folder,
    IUnknown* environment_options,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  try {
    using namespace standin;
    auto runtime = std::make_shared<Runtime>(ReadConfig());
    Json call = {{"checkRunningInstance", check_running_instance},
                 {"runtimeType", runtime_type},
                 {"userDataFolder", TextOrNull(user_data_folder)},
                 {"options", environment_options != nullptr}};
    HRESULT told = S_OK;
    if (runtime->config.Fails(stage::kCreateEnvironmentCall, &told)) {
      // A code that is no failure claims success and never completes.
      call["hr"] = HexCode(told);
      runtime->log.Call("CreateWebViewEnvironmentWithOptionsInternal", call);
      return told;
    }
    std::shared_ptr<Dispatcher> dispatcher;
    HRESULT refused = S_OK;
    if (handler == nullptr) {
      refused = E_POINTER;
    } else if ((dispatcher = Dispatcher::ForCurrentThread()) == nullptr) {
      refused = LastErrorCode();
    }
    if (FAILED(refused)) call["hr"] = HexCode(refused);
    runtime->log.Call("CreateWebViewEnvironmentWithOptionsInternal", call);
    if (FAILED(refused)) return refused;

    ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> completed(handler);
    HRESULT failure = S_OK;
    if (runtime->config.Fails(stage::kCreateEnvironmentCallback, &failure)) {
      dispatcher->Post([runtime, completed, failure] {
        completed->Invoke(failure, nullptr);
        runtime->log.Event("CreateEnvironmentCompleted", {{"hr", HexCode(failure)}});
      });
      return S_OK;
    }
    if (runtime->config.chromium) {
      // The browser starts now, with the environment's creation, as the runtime's own
      // does; the environment exists once it answers, and is handed over in a later turn
      // of this thread. A browser that cannot be started fails the creation with the
      // reason in the log.
      ChromiumBrowser::Launch(
          runtime->config, dispatcher,
          [runtime, completed, dispatcher](std::shared_ptr<ChromiumBrowser> browser, HRESULT code,
                                           const std::string& error) {
            if (browser == nullptr) {
              runtime->log.Error("Chromium did not start: " + error);
              completed->Invoke(code, nullptr);
              runtime->log.Event("CreateEnvironmentCompleted", {{"hr", HexCode(code)}});
              return;
            }
            runtime->log.Engine("chromium", browser->version(), browser->process_id());
            auto environment = Make<Environment>(runtime, dispatcher, std::move(browser));
            completed->Invoke(S_OK, environment.Get());
            runtime->log.Event("CreateEnvironmentCompleted", {{"hr", HexCode(S_OK)}});
          });
      return S_OK;
    }
    dispatcher->Post([runtime, completed, dispatcher] {
      auto environment = Make<Environment>(runtime, dispatcher);
      completed->Invoke(S_OK, environment.Get());
      runtime->log.Event("CreateEnvironmentCompleted", {{"hr", HexCode(S_OK)}});
    });
    return S_OK;
  } catch (...) {
    return E_UNEXPECTED;  // nothing may unwind into the loader
  }
}

// How many of the stand-in's COM objects are alive: 0 once a host has released all.
extern "C" long STDMETHODCALLTYPE QuorvelStandinLiveObjects() { return standin::LiveObjects(); }
