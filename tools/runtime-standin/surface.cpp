#include "tools/runtime-standin/surface.h"

#include <objidl.h>
// GDI+ after objidl.h: it needs the COM types (IStream, PROPID) that WIN32_LEAN_AND_MEAN
// leaves out of windows.h.
#include <gdiplus.h>
#include <shlwapi.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <mutex>
#include <system_error>

#include "tools/runtime-standin/this_module.h"

namespace standin {
namespace {

constexpr wchar_t kClassName[] = L"QuorvelStandinSurface";

// GDI+ and the window class, shared by the process's surfaces: the first surface sets
// them up and the last one takes them down, so neither outlives its users nor this DLL
// (GDI+ must not be started or stopped inside DllMain).
class SharedResources {
 public:
  static bool Acquire(WNDPROC window_proc) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (users_ == 0) {
      WNDCLASSEXW window_class = {};
      window_class.cbSize = sizeof(window_class);
      window_class.style = CS_DBLCLKS;  // double clicks arrive as WM_LBUTTONDBLCLK
      window_class.lpfnWndProc = window_proc;
      window_class.hInstance = ThisModule();
      window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      window_class.lpszClassName = kClassName;
      if (RegisterClassExW(&window_class) == 0) return false;
      // Without GDI+ frames do not decode; the window still shows its background.
      Gdiplus::GdiplusStartupInput input;
      if (Gdiplus::GdiplusStartup(&gdiplus_token_, &input, nullptr) != Gdiplus::Ok) {
        gdiplus_token_ = 0;
      }
    }
    ++users_;
    return true;
  }

  static void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (--users_ > 0) return;
    if (gdiplus_token_ != 0) Gdiplus::GdiplusShutdown(gdiplus_token_);
    gdiplus_token_ = 0;
    UnregisterClassW(kClassName, ThisModule());
  }

  // Whether GDI+ is running; only asked by a surface, which holds it running.
  static bool GdiplusStarted() {
    std::lock_guard<std::mutex> lock(mutex_);
    return gdiplus_token_ != 0;
  }

 private:
  static inline std::mutex mutex_;
  static inline int users_ = 0;
  static inline ULONG_PTR gdiplus_token_ = 0;
};

struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};

// The picture in `bytes` composed over `background`, or null when it does not decode.
HBITMAP DecodeFrame(const std::string& bytes, COLORREF background, SIZE* size) {
  if (bytes.empty() || bytes.size() > UINT_MAX || !SharedResources::GdiplusStarted()) {
    return nullptr;
  }
  // The stream holds its own copy of the bytes.
  std::unique_ptr<IStream, StreamRelease> stream(SHCreateMemStream(
      reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (stream == nullptr) return nullptr;
  Gdiplus::Bitmap picture(stream.get());
  if (picture.GetLastStatus() != Gdiplus::Ok || picture.GetWidth() == 0 ||
      picture.GetHeight() == 0) {
    return nullptr;
  }
  HBITMAP bitmap = nullptr;
  const Gdiplus::Color back(255, GetRValue(background), GetGValue(background),
                            GetBValue(background));
  if (picture.GetHBITMAP(back, &bitmap) != Gdiplus::Ok) return nullptr;
  *size = {static_cast<LONG>(picture.GetWidth()), static_cast<LONG>(picture.GetHeight())};
  return bitmap;
}

int CurrentModifiers() {
  const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  int modifiers = 0;
  if (down(VK_MENU)) modifiers |= kAlt;
  if (down(VK_CONTROL)) modifiers |= kControl;
  if (down(VK_LWIN) || down(VK_RWIN)) modifiers |= kMeta;
  if (down(VK_SHIFT)) modifiers |= kShift;
  return modifiers;
}

// The buttons held, from a mouse message's key-state word.
int HeldButtons(WPARAM key_state) {
  int buttons = 0;
  if ((key_state & MK_LBUTTON) != 0) buttons |= kLeftBit;
  if ((key_state & MK_RBUTTON) != 0) buttons |= kRightBit;
  if ((key_state & MK_MBUTTON) != 0) buttons |= kMiddleBit;
  return buttons;
}

KeyInput KeyInputOf(bool down, WPARAM wparam, LPARAM lparam) {
  KeyInput input;
  input.down = down;
  input.virtual_key = static_cast<int>(wparam);
  input.scan_code = static_cast<int>((lparam >> 16) & 0xFF);
  input.extended = (lparam & (1 << 24)) != 0;
  input.caps_lock = (GetKeyState(VK_CAPITAL) & 1) != 0;
  input.modifiers = CurrentModifiers();
  return input;
}

}  // namespace

Surface::Surface(HWND parent, InputSink sink) : sink_(std::move(sink)) {
  if (!SharedResources::Acquire(&Surface::WindowProc)) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "RegisterClassExW");
  }
  window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                            nullptr, ThisModule(), this);
  if (window_ == nullptr) {
    const DWORD error = GetLastError();
    SharedResources::Release();
    throw std::system_error(static_cast<int>(error), std::system_category(), "CreateWindowExW");
  }
}

Surface::~Surface() {
  // The window may already be gone with its parent (WM_NCDESTROY cleared window_).
  if (window_ != nullptr) DestroyWindow(window_);
  DropFrame();
  SharedResources::Release();
}

void Surface::SetBounds(const RECT& bounds) {
  if (window_ == nullptr) return;
  SetWindowPos(window_, nullptr, bounds.left, bounds.top, std::max(0L, bounds.right - bounds.left),
               std::max(0L, bounds.bottom - bounds.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Surface::SetVisible(bool visible) {
  if (window_ != nullptr) ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

void Surface::SetBackground(COREWEBVIEW2_COLOR color) {
  background_ = RGB(color.R, color.G, color.B);
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

void Surface::ShowFrame(const std::string& image_bytes) {
  SIZE size = {0, 0};
  HBITMAP decoded = DecodeFrame(image_bytes, background_, &size);
  if (decoded == nullptr) return;
  DropFrame();
  frame_ = decoded;
  frame_size_ = size;
  if (window_ != nullptr) {
    // Painted now: WM_PAINT only comes when the queue is empty, and a busy page keeps
    // it full of the browser's news.
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
  }
}

HWND Surface::window() const { return window_; }

void Surface::DropFrame() {
  if (frame_ != nullptr) DeleteObject(frame_);
  frame_ = nullptr;
  frame_size_ = {0, 0};
}

LRESULT CALLBACK Surface::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    // The first message: CreateWindowExW has not handed out the handle yet.
    auto* creator =
        static_cast<Surface*>(reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
    creator->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creator));
  }
  auto* surface = reinterpret_cast<Surface*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (surface == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    surface->window_ = nullptr;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return surface->Handle(message, wparam, lparam);
}

LRESULT Surface::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  MouseInput mouse;
  if (MouseInputOf(message, wparam, lparam, &mouse)) {
    if (mouse.kind == MouseInput::Kind::kPress) {
      // Keys follow the click into the page, and a drag keeps reporting outside it.
      SetFocus(window_);
      SetCapture(window_);
    }
    Send(translator_.Mouse(mouse));
    if (mouse.kind == MouseInput::Kind::kRelease && mouse.buttons == 0 && GetCapture() == window_) {
      ReleaseCapture();
    }
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      Paint();
      return 0;
    case WM_GETDLGCODE:
      // Tab, Enter and the arrows belong to the page, not to dialog navigation.
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_KEYUP:
      Send(translator_.Key(KeyInputOf(message == WM_KEYDOWN, wparam, lparam)));
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      Send(translator_.Key(KeyInputOf(message == WM_SYSKEYDOWN, wparam, lparam)));
      // The system still gets its keys: Alt+F4, Alt+Space, F10.
      break;
    case WM_CHAR: {
      const auto text = translator_.Char(static_cast<char16_t>(wparam), CurrentModifiers());
      if (text.has_value()) Send(*text);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

bool Surface::MouseInputOf(UINT message, WPARAM wparam, LPARAM lparam, MouseInput* input) const {
  using Kind = MouseInput::Kind;
  input->x = GET_X_LPARAM(lparam);
  input->y = GET_Y_LPARAM(lparam);
  input->buttons = HeldButtons(GET_KEYSTATE_WPARAM(wparam));
  input->modifiers = CurrentModifiers();
  switch (message) {
    case WM_MOUSEMOVE:
      input->kind = Kind::kMove;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      input->kind = Kind::kPress;
      input->click_count =
          message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK
              ? 2
              : 1;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      input->kind = Kind::kRelease;
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      // Wheel messages carry screen coordinates.
      POINT point = {input->x, input->y};
      ScreenToClient(window_, &point);
      input->kind = Kind::kWheel;
      input->x = point.x;
      input->y = point.y;
      const int delta = GET_WHEEL_DELTA_WPARAM(wparam);
      (message == WM_MOUSEWHEEL ? input->wheel_y : input->wheel_x) = delta;
      return true;
    }
    default:
      return false;
  }
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      input->button = MouseButton::kLeft;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      input->button = MouseButton::kRight;
      break;
    default:
      input->button = MouseButton::kMiddle;
      break;
  }
  return true;
}

void Surface::Send(const InputEvent& event) {
  try {
    sink_(event.method, event.params);
  } catch (...) {
    // Nothing may unwind through the system's window procedure; the input is lost.
  }
}

void Surface::Paint() {
  PAINTSTRUCT paint;
  HDC screen = BeginPaint(window_, &paint);
  if (screen == nullptr) return;
  RECT client;
  GetClientRect(window_, &client);
  HBRUSH background = CreateSolidBrush(background_);
  // Composed off screen first, so a new frame never shows half drawn over the background.
  HDC buffer = CreateCompatibleDC(screen);
  HBITMAP canvas =
      CreateCompatibleBitmap(screen, std::max(1L, client.right), std::max(1L, client.bottom));
  if (buffer != nullptr && canvas != nullptr) {
    HGDIOBJ previous_canvas = SelectObject(buffer, canvas);
    FillRect(buffer, &client, background);
    if (frame_ != nullptr) {
      HDC source = CreateCompatibleDC(screen);
      HGDIOBJ previous_frame = SelectObject(source, frame_);
      BitBlt(buffer, 0, 0, frame_size_.cx, frame_size_.cy, source, 0, 0, SRCCOPY);
      SelectObject(source, previous_frame);
      DeleteDC(source);
    }
    const RECT& dirty = paint.rcPaint;
    BitBlt(screen, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
           buffer, dirty.left, dirty.top, SRCCOPY);
    SelectObject(buffer, previous_canvas);
  } else {
    FillRect(screen, &paint.rcPaint, background);
  }
  if (canvas != nullptr) DeleteObject(canvas);
  if (buffer != nullptr) DeleteDC(buffer);
  DeleteObject(background);
  EndPaint(window_, &paint);
}

}  // namespace standin
