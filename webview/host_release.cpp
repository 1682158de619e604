// Letting go of a browser host without pulling it from under work that still uses it.
// Initialize's wait and the printer dialog run the thread's messages, so a message may
// ask for the host's release while they are on the stack; the release is then held
// here and runs from the thread's message loop once they have returned.
#include <algorithm>

#include "webview/webview_host.h"

namespace WebView {

namespace {

constexpr DWORD kShutdownWaitMs = 5000;
constexpr wchar_t kWindowClass[] = L"QuorvelHostRelease";
constexpr UINT kReleaseDue = WM_APP + 1;

// The hosts let go of while their frames ran, and the message-only window whose
// message finishes their release. User-interface thread only.
struct HeldReleases {
  std::vector<std::unique_ptr<WebViewHost>> hosts;
  HWND window = nullptr;
};

HeldReleases& Held() {
  static HeldReleases held;
  return held;
}

LRESULT CALLBACK ReleaseWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kReleaseDue) {
    WebViewHost::FinishHeldReleases();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A window rather than a thread message: modal loops (dialogs, message boxes) drop
// thread messages, while every loop dispatches a window's.
HWND ReleaseWindow() {
  HWND& window = Held().window;
  if (window != nullptr && IsWindow(window)) return window;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ReleaseWindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);  // a second registration fails harmlessly
  window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           windowClass.hInstance, nullptr);
  return window;
}

}  // namespace

WebViewHost::Frame::Frame(WebViewHost& host) : host_(host) { host_.frames_.push_back(this); }

WebViewHost::Frame::~Frame() {
  std::vector<Frame*>& frames = host_.frames_;
  frames.erase(std::find(frames.begin(), frames.end(), this));
  // The last frame has returned: the release runs from the loop, outside every frame
  // and every browser callback that may still be on the stack.
  if (frames.empty() && host_.releasing_) PostMessageW(ReleaseWindow(), kReleaseDue, 0, 0);
}

void WebViewHost::Frame::StopOnRelease(std::function<void()> stop) {
  stop_ = std::move(stop);
  if (host_.releasing_ && stop_) stop_();
}

void WebViewHost::Release(std::unique_ptr<WebViewHost> host) {
  if (!host) return;
  if (host->frames_.empty()) {
    host->Shutdown(kShutdownWaitMs);
    return;  // destroyed here
  }
  WebViewHost& held = *host;
  held.releasing_ = true;
  ReleaseWindow();  // made now, so the last frame's message has a window to go to
  Held().hosts.push_back(std::move(host));
  for (Frame* frame : held.frames_) {
    if (frame->stop_) frame->stop_();
  }
}

void WebViewHost::FinishHeldReleases() {
  // Taken out of the list first: a shutdown waits, and a message sent meanwhile may call
  // this again.
  std::vector<std::unique_ptr<WebViewHost>>& hosts = Held().hosts;
  const auto idle = std::stable_partition(hosts.begin(), hosts.end(),
                                          [](const auto& host) { return !host->frames_.empty(); });
  std::vector<std::unique_ptr<WebViewHost>> due(std::make_move_iterator(idle),
                                                std::make_move_iterator(hosts.end()));
  hosts.erase(idle, hosts.end());
  for (const std::unique_ptr<WebViewHost>& host : due) host->Shutdown(kShutdownWaitMs);
}

}  // namespace WebView
