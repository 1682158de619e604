#include "tools/runtime-standin/dispatch.h"

#include <utility>

#include "tools/runtime-standin/this_module.h"

namespace standin {
namespace {

constexpr wchar_t kWindowClass[] = L"QuorvelRuntimeStandinDispatcher";
constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT kRunFromBrowserProcess = WM_APP + 2;

// What the window keeps of its dispatcher. A weak reference, because the dispatcher
// lives as long as the objects that use it, not as long as its window; it is the
// dispatcher that destroys the window.
struct WindowLink {
  std::weak_ptr<Dispatcher> dispatcher;
};

struct Registry {
  std::mutex mutex;
  std::map<DWORD, std::weak_ptr<Dispatcher>> by_thread;
};

// Never destroyed: a dispatcher may still end while the process exits, after the
// library's statics would have gone.
Registry& Dispatchers() {
  static Registry* const registry = new Registry();
  return *registry;
}

void Run(const Dispatcher::Task& task) {
  try {
    task();
  } catch (...) {
    // The host's handlers are COM code and do not throw; the stand-in's own failures
    // must not end the host's message loop.
  }
}

// Sends the wake-up from a pool thread: a message sent to a window from its own thread
// would run at once, inside the call that caused it.
VOID CALLBACK SendWakeUp(PTP_CALLBACK_INSTANCE, PVOID window) {
  SendNotifyMessageW(static_cast<HWND>(window), kRunFromBrowserProcess, 0, 0);
}

}  // namespace

std::shared_ptr<Dispatcher> Dispatcher::ForCurrentThread() {
  Registry& registry = Dispatchers();
  {
    std::lock_guard lock(registry.mutex);
    auto entry = registry.by_thread.find(GetCurrentThreadId());
    if (entry != registry.by_thread.end()) {
      if (std::shared_ptr<Dispatcher> existing = entry->second.lock()) return existing;
    }
  }
  // Made outside the lock: a dispatcher that fails to open unregisters itself as it goes.
  std::shared_ptr<Dispatcher> made(new Dispatcher());
  if (!made->OpenWindow()) return nullptr;
  std::lock_guard lock(registry.mutex);
  registry.by_thread[GetCurrentThreadId()] = made;
  return made;
}

Dispatcher::Dispatcher() : thread_(GetCurrentThreadId()) {}

bool Dispatcher::OpenWindow() {
  static const ATOM window_class = [] {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof(description);
    description.lpfnWndProc = &Dispatcher::WindowProcedure;
    description.hInstance = ThisModule();
    description.lpszClassName = kWindowClass;
    return RegisterClassExW(&description);
  }();
  if (window_class == 0) return false;
  auto* link = new WindowLink{weak_from_this()};
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            ThisModule(), link);
  if (window_ == nullptr) delete link;  // no WM_NCDESTROY will come for it
  return window_ != nullptr;
}

Dispatcher::~Dispatcher() {
  {
    Registry& registry = Dispatchers();
    std::lock_guard lock(registry.mutex);
    auto entry = registry.by_thread.find(thread_);
    if (entry != registry.by_thread.end() && entry->second.expired()) {
      registry.by_thread.erase(entry);
    }
  }
  // A window can only be destroyed by its own thread; from elsewhere it is asked to close.
  if (window_ == nullptr) return;
  if (OnOwnThread()) {
    DestroyWindow(window_);
  } else {
    PostMessageW(window_, WM_CLOSE, 0, 0);
  }
}

void Dispatcher::HoldWhileBusy() {
  if (busy_ == nullptr) busy_ = shared_from_this();
}

std::shared_ptr<Dispatcher> Dispatcher::ReleaseWhenIdle() {
  if (!posted_.empty() || !from_browser_process_.empty() || !timers_.empty()) return nullptr;
  return std::move(busy_);
}

void Dispatcher::Post(Task task) {
  {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(task));
    HoldWhileBusy();
  }
  PostMessageW(window_, kRunPosted, 0, 0);
}

UINT_PTR Dispatcher::PostAfter(UINT milliseconds, Task task) {
  std::lock_guard lock(mutex_);
  const UINT_PTR timer = next_timer_++;
  timers_.emplace(timer, std::move(task));
  HoldWhileBusy();
  SetTimer(window_, timer, milliseconds, nullptr);
  return timer;
}

void Dispatcher::Cancel(UINT_PTR timer) {
  // Both released after the lock, the task first: it may hold the last reference to an
  // object, and the hold may be the last reference to the dispatcher itself.
  std::shared_ptr<Dispatcher> idle;
  Task cancelled;
  std::lock_guard lock(mutex_);
  auto entry = timers_.find(timer);
  if (entry == timers_.end()) return;
  KillTimer(window_, timer);
  cancelled = std::move(entry->second);
  timers_.erase(entry);
  idle = ReleaseWhenIdle();
}

void Dispatcher::PostFromBrowserProcess(Task task) {
  {
    std::lock_guard lock(mutex_);
    from_browser_process_.push_back(std::move(task));
    HoldWhileBusy();
  }
  if (!TrySubmitThreadpoolCallback(&SendWakeUp, window_, nullptr)) {
    PostMessageW(window_, kRunFromBrowserProcess, 0, 0);
  }
}

// The Run functions are called by the window procedure, which holds the dispatcher
// while they run; the hold of a busy dispatcher can be let go of there.
void Dispatcher::RunPosted() {
  Task task;
  std::shared_ptr<Dispatcher> idle;
  {
    std::lock_guard lock(mutex_);
    if (posted_.empty()) return;
    task = std::move(posted_.front());
    posted_.pop_front();
    idle = ReleaseWhenIdle();
  }
  Run(task);
}

void Dispatcher::RunFromBrowserProcess() {
  Task task;
  std::shared_ptr<Dispatcher> idle;
  {
    std::lock_guard lock(mutex_);
    if (from_browser_process_.empty()) return;
    task = std::move(from_browser_process_.front());
    from_browser_process_.pop_front();
    idle = ReleaseWhenIdle();
  }
  Run(task);
}

void Dispatcher::RunTimer(UINT_PTR timer) {
  Task task;
  std::shared_ptr<Dispatcher> idle;
  {
    std::lock_guard lock(mutex_);
    KillTimer(window_, timer);  // every timer runs once
    auto entry = timers_.find(timer);
    if (entry == timers_.end()) return;
    task = std::move(entry->second);
    timers_.erase(entry);
    idle = ReleaseWhenIdle();
  }
  Run(task);
}

LRESULT CALLBACK Dispatcher::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* link = reinterpret_cast<WindowLink*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete link;
  } else if (link != nullptr &&
             (message == kRunPosted || message == kRunFromBrowserProcess || message == WM_TIMER)) {
    // Held for the task's duration: the task may release the last object that keeps the
    // dispatcher, which then destroys this window once the task is over.
    if (std::shared_ptr<Dispatcher> dispatcher = link->dispatcher.lock()) {
      if (message == kRunPosted) dispatcher->RunPosted();
      if (message == kRunFromBrowserProcess) dispatcher->RunFromBrowserProcess();
      if (message == WM_TIMER) dispatcher->RunTimer(wparam);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace standin
