#pragma once
// Delivery of completions and events the way the runtime delivers them: later, on the
// thread that made the call, from that thread's message loop. Each thread that calls
// the stand-in gets a hidden message-only window; work is queued, a message is posted to
// the window, and the window runs the work when the loop dispatches that message. So no
// handler of the host ever runs inside the host's own call.

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace standin {

class Dispatcher : public std::enable_shared_from_this<Dispatcher> {
 public:
  using Task = std::function<void()>;

  // The calling thread's dispatcher, made with its window on first use and kept while
  // any object of that thread holds it or work is waiting in it.
  static std::shared_ptr<Dispatcher> ForCurrentThread();

  ~Dispatcher();
  Dispatcher(const Dispatcher&) = delete;
  Dispatcher& operator=(const Dispatcher&) = delete;

  // Runs `task` when the thread's message loop dispatches the message posted for it.
  void Post(Task task);

  // Runs `task` after `milliseconds`, from a timer of the thread; the result names it for
  // Cancel.
  UINT_PTR PostAfter(UINT milliseconds, Task task);
  void Cancel(UINT_PTR timer);

  // Runs `task` as a message sent from another thread, the way news from the browser
  // process arrives. Sent messages are also delivered inside waits that dispatch no posted
  // messages (CoWaitForMultipleHandles in a single-threaded apartment), which is where a
  // host waits for the browser process to exit.
  void PostFromBrowserProcess(Task task);

  bool OnOwnThread() const { return GetCurrentThreadId() == thread_; }

 private:
  Dispatcher();
  bool OpenWindow();
  void RunPosted();
  void RunFromBrowserProcess();
  void RunTimer(UINT_PTR timer);
  // With the lock held: keeps the dispatcher alive while work waits, lets go after.
  void HoldWhileBusy();
  std::shared_ptr<Dispatcher> ReleaseWhenIdle();
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  const DWORD thread_;
  HWND window_ = nullptr;
  std::mutex mutex_;  // the queues; Post may come from any thread
  std::deque<Task> posted_;
  std::deque<Task> from_browser_process_;
  std::map<UINT_PTR, Task> timers_;
  UINT_PTR next_timer_ = 1;
  // Set while any work waits: the work must run even when every object that posted it
  // has gone (the host's completion handler holds no reference to the stand-in).
  std::shared_ptr<Dispatcher> busy_;
};

}  // namespace standin
