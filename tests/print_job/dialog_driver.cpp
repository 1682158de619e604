#include "tests/print_job/dialog_driver.h"

#include <utility>

namespace {

constexpr int kListId = 1001;
constexpr int kPrintId = 1002;
constexpr int kCancelId = 1003;
constexpr int kMessageId = 1005;
constexpr DWORD kGiveUpMs = 30000;
constexpr DWORD kCloseWaitMs = 5000;

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

}  // namespace

DialogDriver::DialogDriver(Action action, std::wstring printer, UINT toOwnerFirst)
    : action_(action),
      printer_(std::move(printer)),
      toOwnerFirst_(toOwnerFirst),
      thread_([this] { Run(); }) {}

DialogDriver::~DialogDriver() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

const DialogDriver::Seen& DialogDriver::Finish() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

HWND DialogDriver::WaitForDialog() {
  const ULONGLONG deadline = GetTickCount64() + kGiveUpMs;
  while (!stop_ && GetTickCount64() < deadline) {
    const HWND dialog = FindWindowW(L"#32770", L"Select Printer");
    DWORD process = 0;
    if (dialog != nullptr) GetWindowThreadProcessId(dialog, &process);
    // Shown only once it is filled in.
    if (process == GetCurrentProcessId() && IsWindowVisible(dialog)) return dialog;
    Sleep(20);
  }
  return nullptr;
}

void DialogDriver::Run() {
  const HWND dialog = WaitForDialog();
  if (dialog == nullptr) return;
  seen_.shown = true;
  const HWND list = GetDlgItem(dialog, kListId);
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    seen_.listed.push_back(text);
  }
  seen_.selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  seen_.listVisible = Visible(dialog, kListId);
  seen_.printVisible = Visible(dialog, kPrintId);
  seen_.messageVisible = Visible(dialog, kMessageId);
  if (toOwnerFirst_ != 0) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetWindow(dialog, GW_OWNER), toOwnerFirst_, 0, 0, SMTO_BLOCK, kCloseWaitMs,
                        &ignored);
  }
  Act(dialog);
  WaitUntilClosed(dialog);
}

void DialogDriver::WaitUntilClosed(HWND dialog) {
  const ULONGLONG deadline = GetTickCount64() + kCloseWaitMs;
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount64() >= deadline) {
      seen_.stayedOpen = true;
      // The dialog's modal loop ends on a quit message.
      PostThreadMessageW(GetWindowThreadProcessId(dialog, nullptr), WM_QUIT, 0, 0);
      return;
    }
    Sleep(20);
  }
}

void DialogDriver::Act(HWND dialog) {
  const HWND list = GetDlgItem(dialog, kListId);
  switch (action_) {
    case Action::kPrintTo: {
      const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(printer_.c_str()));
      seen_.printerFound = index != LB_ERR;
      if (!seen_.printerFound) {
        SendMessageW(GetDlgItem(dialog, kCancelId), BM_CLICK, 0, 0);
        return;
      }
      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      SendMessageW(GetDlgItem(dialog, kPrintId), BM_CLICK, 0, 0);
      return;
    }
    case Action::kCancel:
      SendMessageW(GetDlgItem(dialog, kCancelId), BM_CLICK, 0, 0);
      return;
    case Action::kNone:
      return;
    case Action::kEscape: {
      GUITHREADINFO focus = {};
      focus.cbSize = sizeof focus;
      GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus);
      const HWND target = focus.hwndFocus != nullptr ? focus.hwndFocus : dialog;
      PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      PostMessageW(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
      return;
    }
  }
}
