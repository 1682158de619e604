#include "diag/countdown_window.h"

#include <windows.h>

#include <string>

#include "common/text.h"
#include "diag/countdown_layout.h"

namespace {

constexpr wchar_t kClassName[] = L"DiagnosticCountdown";
constexpr wchar_t kTitle[] = L"Security Alert";
constexpr UINT_PTR kTimerId = 1001;
constexpr UINT kTickMilliseconds = 1000;
constexpr WORD kIconResource = 101;
constexpr int kIconSize = 64;

constexpr COLORREF kBackground = RGB(0x1A, 0x1A, 0x2E);
constexpr COLORREF kAccent = RGB(0xE9, 0x45, 0x60);
constexpr COLORREF kPanel = RGB(0x0F, 0x34, 0x60);
constexpr COLORREF kEnglishColor = RGB(0xCC, 0xCC, 0xCC);
constexpr COLORREF kArabicColor = RGB(0xB4, 0xB4, 0xB4);
constexpr COLORREF kCountdownColor = RGB(0x88, 0x88, 0x88);
constexpr COLORREF kNoteColor = RGB(0x64, 0x64, 0x64);

constexpr UINT kOneLine = DT_CENTER | DT_SINGLELINE | DT_NOPREFIX;
constexpr UINT kOneLineMiddle = kOneLine | DT_VCENTER;
constexpr UINT kWrapped = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;

// Each window carries its own state, so two threads failing at once cannot mix up their
// texts or counters.
struct CountdownState {
  std::u16string caption;
  std::u16string englishText;
  std::u16string arabicText;
  std::u16string code;
  int secondsLeft = 0;
  // Cleared once this loop's quit message is posted: destroying the window after the
  // last tick must not leave a second quit message that would close the message box
  // shown next on this thread.
  bool loopRunning = true;
  HWND window = nullptr;
  HICON icon = nullptr;
};

const wchar_t* Wide(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

int Length(std::u16string_view text) { return static_cast<int>(text.size()); }

RECT ToRect(const LayoutRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// Owns a GDI object and keeps it selected into a device context while in scope. A
// failed creation (null) leaves the context as it was, so painting degrades to the
// default font or pen instead of failing.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), object_(object), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
    if (object_) DeleteObject(object_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ previous_;
};

// Heights are character heights, hence negative for CreateFontW.
HFONT MakeFont(int height, int weight, const wchar_t* face = L"Segoe UI",
               DWORD pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE) {
  return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, pitchAndFamily,
                     face);
}

void DrawTextIn(HDC dc, std::u16string_view text, const LayoutRect& where, COLORREF color,
                UINT format) {
  RECT rect = ToRect(where);
  SetTextColor(dc, color);
  DrawTextW(dc, Wide(text), Length(text), &rect, format);
}

// Height the text takes when word-wrapped in the width of column.
int MeasureHeight(HDC dc, std::u16string_view text, const LayoutRect& column, UINT format) {
  RECT rect = ToRect(column);
  rect.bottom = rect.top;
  DrawTextW(dc, Wide(text), Length(text), &rect, format | DT_CALCRECT);
  return rect.bottom - rect.top;
}

void DrawCountdown(HDC dc, int width, int height, const CountdownState& state) {
  const RECT client = {0, 0, width, height};
  if (HBRUSH background = CreateSolidBrush(kBackground)) {
    FillRect(dc, &client, background);
    DeleteObject(background);
  }
  SetBkMode(dc, TRANSPARENT);

  int englishHeight = 0;
  int arabicHeight = 0;
  {
    const LayoutRect column = ComputeCountdownLayout(width, 0, 0).englishText;
    SelectedObject font(dc, MakeFont(16, FW_NORMAL));
    englishHeight = MeasureHeight(dc, state.englishText, column, kWrapped);
    arabicHeight = MeasureHeight(dc, state.arabicText, column, kWrapped | DT_RTLREADING);
  }
  const CountdownLayout layout = ComputeCountdownLayout(width, englishHeight, arabicHeight);

  if (state.icon) {
    DrawIconEx(dc, layout.icon.left, layout.icon.top, state.icon, kIconSize, kIconSize, 0, nullptr,
               DI_NORMAL);
  }
  {
    SelectedObject font(dc, MakeFont(24, FW_BOLD));
    DrawTextIn(dc, state.caption, layout.caption, kAccent, kOneLine);
  }
  {
    SelectedObject pen(dc, CreatePen(PS_SOLID, 1, kAccent));
    MoveToEx(dc, layout.ruleLeft, layout.ruleY, nullptr);
    LineTo(dc, layout.ruleRight, layout.ruleY);
  }
  {
    SelectedObject font(dc, MakeFont(16, FW_NORMAL));
    DrawTextIn(dc, state.englishText, layout.englishText, kEnglishColor, kWrapped);
    DrawTextIn(dc, state.arabicText, layout.arabicText, kArabicColor, kWrapped | DT_RTLREADING);
  }
  {
    SelectedObject pen(dc, CreatePen(PS_SOLID, 3, kAccent));
    SelectedObject fill(dc, CreateSolidBrush(kPanel));
    Ellipse(dc, layout.circle.left, layout.circle.top, layout.circle.right, layout.circle.bottom);
  }
  {
    SelectedObject font(dc, MakeFont(60, FW_BOLD));
    DrawTextIn(dc, AsciiToUtf16(std::to_string(state.secondsLeft)), layout.seconds, kAccent,
               kOneLineMiddle);
  }
  const bool hasCode = !state.code.empty();
  SelectedObject smallFont(dc, MakeFont(13, FW_NORMAL));
  DrawTextIn(dc, EnglishCountdownText(state.secondsLeft), layout.englishCountdown, kCountdownColor,
             kOneLine);
  DrawTextIn(dc, ArabicCountdownText(state.secondsLeft), layout.arabicCountdown, kCountdownColor,
             kOneLine | DT_RTLREADING);
  if (!hasCode) return;

  DrawTextIn(dc, kCodeLabelText, layout.codeLabel, kAccent, kOneLine);
  {
    SelectedObject pen(dc, CreatePen(PS_SOLID, 1, kAccent));
    SelectedObject fill(dc, CreateSolidBrush(kPanel));
    Rectangle(dc, layout.codeBox.left, layout.codeBox.top, layout.codeBox.right,
              layout.codeBox.bottom);
  }
  {
    SelectedObject font(dc, MakeFont(12, FW_NORMAL, L"Consolas", FIXED_PITCH | FF_MODERN));
    DrawTextIn(dc, state.code, layout.code, kAccent, kOneLineMiddle | DT_END_ELLIPSIS);
  }
  DrawTextIn(dc, kCopiedNoteText, layout.copiedNote, kNoteColor, kOneLine);
}

// Drawn off screen and copied in one step, so the once-a-second repaint never flickers.
void Paint(HWND window, const CountdownState& state) {
  PAINTSTRUCT paint;
  HDC screen = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;

  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = memory ? CreateCompatibleBitmap(screen, width, height) : nullptr;
  if (bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    DrawCountdown(memory, width, height, state);
    BitBlt(screen, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  } else {
    DrawCountdown(screen, width, height, state);
  }
  if (memory) DeleteDC(memory);
  EndPaint(window, &paint);
}

void EndLoop(CountdownState& state) {
  if (!state.loopRunning) return;
  state.loopRunning = false;
  PostQuitMessage(0);
}

void Tick(HWND window, CountdownState& state) {
  --state.secondsLeft;
  if (state.secondsLeft > 0) {
    InvalidateRect(window, nullptr, FALSE);
    return;
  }
  // 0 is never painted: the window goes as soon as the loop ends.
  KillTimer(window, kTimerId);
  EndLoop(state);
}

LRESULT CALLBACK CountdownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<CountdownState*>(
        reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* state = reinterpret_cast<CountdownState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!state) return DefWindowProcW(window, message, wParam, lParam);

  switch (message) {
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    case WM_NCHITTEST:
      // No title bar: the whole window drags.
      return HTCAPTION;
    case WM_TIMER:
      if (wParam != kTimerId) break;
      Tick(window, *state);
      return 0;
    case WM_DESTROY:
      // Closed by the user (Alt+F4) or destroyed after the loop: either way it is over.
      EndLoop(*state);
      return 0;
    case WM_NCDESTROY:
      state->window = nullptr;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A second registration in the same process fails and the first class stays in use.
void RegisterCountdownClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = CountdownProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = CreateSolidBrush(kBackground);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass) && windowClass.hbrBackground) {
    DeleteObject(windowClass.hbrBackground);
  }
}

}  // namespace

void RunCountdownWindow(std::u16string_view caption, std::u16string_view englishText,
                        std::u16string_view arabicText, std::u16string_view code, int seconds) {
  CountdownState state;
  state.caption = caption;
  state.englishText = englishText;
  state.arabicText = arabicText;
  state.code = code;
  state.secondsLeft = seconds;

  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterCountdownClass(instance);
  // The program's own icon; a program without one simply shows none.
  state.icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                             kIconSize, kIconSize, LR_DEFAULTCOLOR));

  const LayoutRect frame = CountdownWindowRect(GetSystemMetrics(SM_CXSCREEN),
                                               GetSystemMetrics(SM_CYSCREEN), !state.code.empty());
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, kTitle,
                                WS_POPUP | WS_VISIBLE | WS_BORDER, frame.left, frame.top,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, instance, &state);
  if (!window) {
    const std::u16string text = CountdownFallbackText(englishText, arabicText, seconds);
    MessageBoxW(nullptr, Wide(text), Wide(state.caption),
                MB_TOPMOST | MB_SETFOREGROUND | MB_ICONERROR);
  } else {
    SetTimer(window, kTimerId, kTickMilliseconds, nullptr);
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MessageBeep(MB_ICONHAND);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    // The loop is over whatever ended it; destroying the window must not post another quit.
    state.loopRunning = false;
    if (state.window) DestroyWindow(state.window);
  }
  if (state.icon) DestroyIcon(state.icon);
}
