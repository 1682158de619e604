// Looks at and works the printer dialog from outside, in the same Wine session:
//   print_dialog_probe.exe window     prints the dialog's title, frame, client area and
//                                     style, each control's class, style, visibility and
//                                     client rectangle, the list's items and selection,
//                                     and the screen size (exit 1: no dialog)
//   print_dialog_probe.exe select N   selects list item N (-1: none)
//   print_dialog_probe.exe click ID   clicks the button with that id
//   print_dialog_probe.exe dblclick N double-clicks list item N with the mouse
//   print_dialog_probe.exe escape     presses Escape in the control that has the focus
//   print_dialog_probe.exe close      chooses Close in the window menu (the title bar's X)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kListId = 1001;
constexpr int kFirstId = 1001;
constexpr int kLastId = 1005;
constexpr UINT kSendTimeoutMs = 5000;

HWND FindDialog() { return FindWindowW(L"#32770", L"Select Printer"); }

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

// One line per value: line breaks inside a text are written as "\\n".
void PrintText(const wchar_t* text) {
  for (; *text != L'\0'; ++text) {
    if (*text == L'\n') {
      std::fputs("\\n", stdout);
    } else if (*text != L'\r') {
      std::printf("%lc", static_cast<wint_t>(*text));
    }
  }
  std::fputs("\n", stdout);
}

RECT ClientRectIn(HWND dialog, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int PrintWindow(HWND dialog) {
  wchar_t title[64] = {};
  GetWindowTextW(dialog, title, 64);
  RECT frame, client;
  GetWindowRect(dialog, &frame);
  GetClientRect(dialog, &client);
  POINT origin = {0, 0};
  ClientToScreen(dialog, &origin);
  std::printf("title=%ls\nframe=%ld %ld %ld %ld\nclient=%ld %ld %ld %ld\nstyle=%08lx\n", title,
              frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, origin.x,
              origin.y, client.right, client.bottom,
              static_cast<unsigned long>(GetWindowLongW(dialog, GWL_STYLE)));
  std::printf("screen=%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  for (int id = kFirstId; id <= kLastId; ++id) {
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) continue;
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    wchar_t text[128] = {};
    GetWindowTextW(control, text, 128);
    const RECT rect = ClientRectIn(dialog, control);
    std::printf("item%d=%ls|%08lx|%d|%ld %ld %ld %ld|", id, className,
                static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)),
                IsWindowVisible(control) ? 1 : 0, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    PrintText(text);
  }
  const HWND list = GetDlgItem(dialog, kListId);
  const LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
  std::printf("count=%ld\ncursel=%ld\nitemheight=%ld\n", static_cast<long>(count),
              static_cast<long>(Send(list, LB_GETCURSEL, 0, 0)),
              static_cast<long>(Send(list, LB_GETITEMHEIGHT, 0, 0)));
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    if (Send(list, LB_GETTEXTLEN, i, 0) < 256)
      Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    std::printf("text%ld=", static_cast<long>(i));
    PrintText(text);
  }
  return 0;
}

int DoubleClick(HWND dialog, int index) {
  const HWND list = GetDlgItem(dialog, kListId);
  RECT item = {};
  if (Send(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR) return 1;
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  // The messages a real double-click produces, in order.
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  return 0;
}

int PressEscape(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  const HWND target = info.hwndFocus != nullptr ? info.hwndFocus : dialog;
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageW(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  const int number = argc > 2 ? std::atoi(argv[2]) : 0;
  const HWND dialog = FindDialog();
  if (dialog == nullptr) return 1;
  if (command == "window") return PrintWindow(dialog);
  if (command == "select") {
    Send(GetDlgItem(dialog, kListId), LB_SETCURSEL, static_cast<WPARAM>(number), 0);
    return 0;
  }
  if (command == "click") {
    const HWND button = GetDlgItem(dialog, number);
    if (button == nullptr) return 1;
    Send(button, BM_CLICK, 0, 0);
    return 0;
  }
  if (command == "dblclick") return DoubleClick(dialog, number);
  if (command == "escape") return PressEscape(dialog);
  if (command == "close") return PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
  std::fputs("usage: print_dialog_probe window|select N|click ID|dblclick N|escape|close\n",
             stderr);
  return 2;
}
