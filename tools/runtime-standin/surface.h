#pragma once
// The window that shows the page: a child of the controller's parent window, painting the
// latest frame the browser sent and forwarding the user's mouse and keyboard input as the
// browser's input commands. Every call, and the sink, happen on the thread that created
// it (the host's UI thread).

#include <windows.h>

#include <functional>
#include <string>

#include "nlohmann/json.hpp"
#include "tools/runtime-standin/input_events.h"
#include "webview/abi/WebView2.h"

namespace standin {

class Surface {
 public:
  // Gets each input command; it must not destroy the Surface.
  using InputSink = std::function<void(const std::string& method, const nlohmann::json& params)>;

  // Creates the child window, hidden until SetVisible(true). Throws std::system_error when
  // the window cannot be made (e.g. `parent` is no window).
  Surface(HWND parent, InputSink sink);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // Position and size in the parent's client area.
  void SetBounds(const RECT& bounds);
  void SetVisible(bool visible);
  // Painted until the first frame and wherever the frame does not reach. Alpha is not
  // used: the window is opaque.
  void SetBackground(COREWEBVIEW2_COLOR color);
  // One screencast frame (JPEG or PNG), drawn at the window's origin at its own size.
  // Bytes that do not decode leave the previous frame in place.
  void ShowFrame(const std::string& image_bytes);
  // Null once the window is gone (e.g. destroyed with its parent).
  HWND window() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  // The message's mouse input, or false when it is none.
  bool MouseInputOf(UINT message, WPARAM wparam, LPARAM lparam, MouseInput* input) const;
  void Paint();
  void Send(const InputEvent& event);
  void DropFrame();

  HWND window_ = nullptr;
  InputSink sink_;
  InputTranslator translator_;
  COLORREF background_ = RGB(255, 255, 255);
  HBITMAP frame_ = nullptr;  // the latest frame, already composed over the background
  SIZE frame_size_ = {0, 0};
};

}  // namespace standin
