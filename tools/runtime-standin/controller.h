#pragma once
// The controller: the view's place in its parent window (bounds, visibility, zoom,
// background colour, focus) and its owner. Closing it, or dropping the last reference,
// closes the view and may end the browser process (see Environment).

#include <memory>

#include "tools/runtime-standin/com_object.h"
#include "tools/runtime-standin/dispatch.h"
#include "tools/runtime-standin/event_source.h"

namespace standin {

class ChromiumPage;
class Environment;
class WebView;
struct EngineTarget;

class Controller final
    : public ComObject<Controller, ICoreWebView2Controller4, ICoreWebView2Controller,
                       ICoreWebView2Controller2, ICoreWebView2Controller3> {
 public:
  // With a failing `view_failure`, the controller has no view and get_CoreWebView2
  // reports that code.
  // With `engine`, the view's page is that target of a real browser.
  Controller(std::shared_ptr<Runtime> runtime, std::shared_ptr<Dispatcher> dispatcher,
             ComPtr<Environment> environment, HWND parent, HRESULT view_failure,
             const EngineTarget* engine = nullptr);
  ~Controller() override;

  // The view's real page, null in the recording mode.
  ChromiumPage* Engine() const;

  // ICoreWebView2Controller
  HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* visible) override;
  HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL visible) override;
  HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override;
  HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
  HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoom) override;
  HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoom) override;
  HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(
      ICoreWebView2ZoomFactorChangedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoom) override;
  HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override;
  HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(
      ICoreWebView2MoveFocusRequestedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                         EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                          EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* handler,
                            EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parent) override;
  HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parent) override;
  HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
  HRESULT STDMETHODCALLTYPE Close() override;
  HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** view) override;

  // ICoreWebView2Controller2
  HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(COREWEBVIEW2_COLOR* color) override;
  HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(COREWEBVIEW2_COLOR color) override;

  // ICoreWebView2Controller3
  HRESULT STDMETHODCALLTYPE get_RasterizationScale(double* scale) override;
  HRESULT STDMETHODCALLTYPE put_RasterizationScale(double scale) override;
  HRESULT STDMETHODCALLTYPE get_ShouldDetectMonitorScaleChanges(BOOL* detect) override;
  HRESULT STDMETHODCALLTYPE put_ShouldDetectMonitorScaleChanges(BOOL detect) override;
  HRESULT STDMETHODCALLTYPE
  add_RasterizationScaleChanged(ICoreWebView2RasterizationScaleChangedEventHandler* handler,
                                EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_RasterizationScaleChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_BoundsMode(COREWEBVIEW2_BOUNDS_MODE* mode) override;
  HRESULT STDMETHODCALLTYPE put_BoundsMode(COREWEBVIEW2_BOUNDS_MODE mode) override;

  // ICoreWebView2Controller4
  HRESULT STDMETHODCALLTYPE get_AllowExternalDrop(BOOL* allow) override;
  HRESULT STDMETHODCALLTYPE put_AllowExternalDrop(BOOL allow) override;

 private:
  HRESULT Usable() const;
  // Closes the view and tells the environment; `Close` logs the host's call first.
  void Shut();
  template <class Handler>
  HRESULT AddUnraised(std::string_view event, Handler* handler, EventRegistrationToken* token) {
    if (HRESULT usable = Usable(); FAILED(usable)) return usable;
    return unraised_.Add(runtime().log, event, handler, token);
  }
  HRESULT RemoveUnraised(std::string_view event, EventRegistrationToken token) {
    if (HRESULT usable = Usable(); FAILED(usable)) return usable;
    return unraised_.Remove(runtime().log, event, token);
  }

  const std::shared_ptr<Dispatcher> dispatcher_;
  ComPtr<Environment> environment_;
  ComPtr<WebView> view_;
  const HRESULT view_failure_;
  bool closed_ = false;
  HWND parent_;
  RECT bounds_ = {};
  bool visible_ = true;
  double zoom_ = 1.0;
  COREWEBVIEW2_COLOR background_ = {255, 255, 255, 255};
  double rasterization_scale_ = 1.0;
  bool detect_monitor_scale_ = true;
  COREWEBVIEW2_BOUNDS_MODE bounds_mode_{};
  bool allow_external_drop_ = true;
  UnraisedEvents unraised_;
};

}  // namespace standin
