#include "tools/runtime-standin/controller.h"

#include <cstdint>
#include <utility>

#include "tools/runtime-standin/environment.h"
#include "tools/runtime-standin/webview.h"

namespace standin {
namespace {

Json BoundsJson(const RECT& bounds) {
  return {{"left", bounds.left},
          {"top", bounds.top},
          {"right", bounds.right},
          {"bottom", bounds.bottom}};
}

}  // namespace

Controller::Controller(std::shared_ptr<Runtime> runtime, std::shared_ptr<Dispatcher> dispatcher,
                       ComPtr<Environment> environment, HWND parent, HRESULT view_failure,
                       const EngineTarget* engine)
    : ComObject(runtime),
      dispatcher_(std::move(dispatcher)),
      environment_(std::move(environment)),
      view_failure_(view_failure),
      parent_(parent) {
  GetClientRect(parent_, &bounds_);  // the view starts filling its parent
  if (view_failure_ == S_OK) view_ = Make<WebView>(runtime, dispatcher_, environment_, engine);
}

ChromiumPage* Controller::Engine() const { return view_ != nullptr ? view_->engine() : nullptr; }

// Dropping the controller without closing it closes it all the same, as with the runtime.
Controller::~Controller() { Shut(); }

void Controller::Shut() {
  if (closed_) return;
  closed_ = true;
  unraised_.Clear();
  if (view_ != nullptr) view_->Close();
  // The host may keep the view; the controller needs it no more.
  view_.Reset();
  environment_->ControllerClosed();
}

HRESULT Controller::Usable() const {
  if (!dispatcher_->OnOwnThread()) return RPC_E_WRONG_THREAD;
  if (closed_) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
  return S_OK;
}

HRESULT Controller::get_IsVisible(BOOL* visible) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(visible, visible_);
}

HRESULT Controller::put_IsVisible(BOOL visible) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  visible_ = visible != FALSE;
  runtime().log.Call("put_IsVisible", {{"value", visible_}});
  if (ChromiumPage* engine = Engine()) engine->SetVisible(visible_);
  return S_OK;
}

HRESULT Controller::get_Bounds(RECT* bounds) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(bounds, bounds_);
}

HRESULT Controller::put_Bounds(RECT bounds) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  bounds_ = bounds;
  runtime().log.Call("put_Bounds", BoundsJson(bounds));
  if (ChromiumPage* engine = Engine()) engine->SetBounds(bounds_);
  return S_OK;
}

HRESULT Controller::get_ZoomFactor(double* zoom) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(zoom, zoom_);
}

HRESULT Controller::put_ZoomFactor(double zoom) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (zoom <= 0) return E_INVALIDARG;
  zoom_ = zoom;
  runtime().log.Call("put_ZoomFactor", {{"value", zoom}});
  return S_OK;
}

HRESULT Controller::add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* handler,
                                          EventRegistrationToken* token) {
  return AddUnraised("ZoomFactorChanged", handler, token);
}

HRESULT Controller::remove_ZoomFactorChanged(EventRegistrationToken token) {
  return RemoveUnraised("ZoomFactorChanged", token);
}

HRESULT Controller::SetBoundsAndZoomFactor(RECT bounds, double zoom) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (zoom <= 0) return E_INVALIDARG;
  bounds_ = bounds;
  zoom_ = zoom;
  Json call = BoundsJson(bounds);
  call["zoomFactor"] = zoom;
  runtime().log.Call("SetBoundsAndZoomFactor", call);
  if (ChromiumPage* engine = Engine()) engine->SetBounds(bounds_);
  return S_OK;
}

HRESULT Controller::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("MoveFocus", {{"reason", static_cast<int>(reason)}});
  return S_OK;
}

HRESULT Controller::add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* handler,
                                           EventRegistrationToken* token) {
  return AddUnraised("MoveFocusRequested", handler, token);
}

HRESULT Controller::remove_MoveFocusRequested(EventRegistrationToken token) {
  return RemoveUnraised("MoveFocusRequested", token);
}

HRESULT Controller::add_GotFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                 EventRegistrationToken* token) {
  return AddUnraised("GotFocus", handler, token);
}

HRESULT Controller::remove_GotFocus(EventRegistrationToken token) {
  return RemoveUnraised("GotFocus", token);
}

HRESULT Controller::add_LostFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                  EventRegistrationToken* token) {
  return AddUnraised("LostFocus", handler, token);
}

HRESULT Controller::remove_LostFocus(EventRegistrationToken token) {
  return RemoveUnraised("LostFocus", token);
}

HRESULT Controller::add_AcceleratorKeyPressed(
    ICoreWebView2AcceleratorKeyPressedEventHandler* handler, EventRegistrationToken* token) {
  return AddUnraised("AcceleratorKeyPressed", handler, token);
}

HRESULT Controller::remove_AcceleratorKeyPressed(EventRegistrationToken token) {
  return RemoveUnraised("AcceleratorKeyPressed", token);
}

HRESULT Controller::get_ParentWindow(HWND* parent) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(parent, parent_);
}

HRESULT Controller::put_ParentWindow(HWND parent) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (!IsWindow(parent)) return E_INVALIDARG;
  parent_ = parent;
  runtime().log.Call("put_ParentWindow", {{"value", reinterpret_cast<std::uintptr_t>(parent)}});
  return S_OK;
}

HRESULT Controller::NotifyParentWindowPositionChanged() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("NotifyParentWindowPositionChanged");
  return S_OK;
}

HRESULT Controller::Close() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("Close");
  Shut();
  return S_OK;
}

HRESULT Controller::get_CoreWebView2(ICoreWebView2** view) {
  if (view == nullptr) return E_POINTER;
  *view = nullptr;
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (view_ == nullptr) return view_failure_;
  return HandOut(view_, view);
}

HRESULT Controller::get_DefaultBackgroundColor(COREWEBVIEW2_COLOR* color) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(color, background_);
}

// The runtime takes only opaque or fully transparent backgrounds.
HRESULT Controller::put_DefaultBackgroundColor(COREWEBVIEW2_COLOR color) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (color.A != 0 && color.A != 255) return E_INVALIDARG;
  background_ = color;
  runtime().log.Call("put_DefaultBackgroundColor",
                     {{"a", color.A}, {"r", color.R}, {"g", color.G}, {"b", color.B}});
  if (ChromiumPage* engine = Engine()) engine->SetBackground(color);
  return S_OK;
}

HRESULT Controller::get_RasterizationScale(double* scale) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(scale, rasterization_scale_);
}

HRESULT Controller::put_RasterizationScale(double scale) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (scale <= 0) return E_INVALIDARG;
  rasterization_scale_ = scale;
  runtime().log.Call("put_RasterizationScale", {{"value", scale}});
  return S_OK;
}

HRESULT Controller::get_ShouldDetectMonitorScaleChanges(BOOL* detect) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(detect, detect_monitor_scale_);
}

HRESULT Controller::put_ShouldDetectMonitorScaleChanges(BOOL detect) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  detect_monitor_scale_ = detect != FALSE;
  runtime().log.Call("put_ShouldDetectMonitorScaleChanges", {{"value", detect_monitor_scale_}});
  return S_OK;
}

HRESULT Controller::add_RasterizationScaleChanged(
    ICoreWebView2RasterizationScaleChangedEventHandler* handler, EventRegistrationToken* token) {
  return AddUnraised("RasterizationScaleChanged", handler, token);
}

HRESULT Controller::remove_RasterizationScaleChanged(EventRegistrationToken token) {
  return RemoveUnraised("RasterizationScaleChanged", token);
}

HRESULT Controller::get_BoundsMode(COREWEBVIEW2_BOUNDS_MODE* mode) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(mode, bounds_mode_);
}

HRESULT Controller::put_BoundsMode(COREWEBVIEW2_BOUNDS_MODE mode) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  bounds_mode_ = mode;
  runtime().log.Call("put_BoundsMode", {{"value", static_cast<int>(mode)}});
  return S_OK;
}

HRESULT Controller::get_AllowExternalDrop(BOOL* allow) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(allow, allow_external_drop_);
}

HRESULT Controller::put_AllowExternalDrop(BOOL allow) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  allow_external_drop_ = allow != FALSE;
  runtime().log.Call("put_AllowExternalDrop", {{"value", allow_external_drop_}});
  return S_OK;
}

}  // namespace standin
