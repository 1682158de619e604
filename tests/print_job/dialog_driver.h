#pragma once
// Works the printer dialog the way a user would, from a thread of the test: waits for
// the dialog of this process to show, notes what it lists, then picks a printer and
// presses Print, presses Cancel, or presses Escape.

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class DialogDriver {
 public:
  // kNone leaves the dialog alone: something else is expected to close it.
  enum class Action { kPrintTo, kCancel, kEscape, kNone };

  struct Seen {
    bool shown = false;
    std::vector<std::wstring> listed;  // the list's items in order
    int selected = -1;                 // the list's selection when it appeared
    bool listVisible = false;
    bool printVisible = false;
    bool messageVisible = false;
    bool printerFound = false;  // kPrintTo: the printer was in the list
    // The dialog was still open a while after the action; the driver then ended the
    // dialog's message loop so that the test goes on.
    bool stayedOpen = false;
  };

  // kPrintTo selects `printer` and presses Print. Before the action, a non-zero
  // `toOwnerFirst` is sent to the dialog's owner from the driver's thread, as another
  // thread of the player would send it, and answered.
  explicit DialogDriver(Action action, std::wstring printer = {}, UINT toOwnerFirst = 0);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // Waits for the thread to end (it gives up 30 s after it started) and tells what it saw.
  const Seen& Finish();

 private:
  void Run();
  HWND WaitForDialog();
  void Act(HWND dialog);
  void WaitUntilClosed(HWND dialog);

  const Action action_;
  const std::wstring printer_;
  const UINT toOwnerFirst_;
  std::atomic<bool> stop_{false};
  Seen seen_;
  std::thread thread_;
};
