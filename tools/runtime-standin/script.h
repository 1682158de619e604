#pragma once
// Stimuli: what the page and the browser do on their own, read from the JSON-lines file
// named by QUORVEL_RUNTIME_SCRIPT and played to each view in order, starting once the
// view's first navigation has completed successfully. Each line is one object:
//
//   {"do":"navigate","uri":…}             a navigation the page starts (user-initiated)
//   {"do":"message","text":…}             the page posts a string
//   {"do":"messageJson","json":…}         the page posts this JSON value
//   {"do":"resource","uri":…}             the page requests a resource; optional
//                                          "context" (resource context, default 16 = other),
//                                          "sourceKind" (1 document, 2 shared worker,
//                                          4 service worker; default 1), "method" (GET),
//                                          "headers" {name: value}
//   {"do":"newWindow","uri":…}            the page asks for a new window
//   {"do":"permission","kind":N}          the page asks for a permission; optional "uri"
//                                          (default: the current address)
//   {"do":"printResult","status":N,"hr":…}   the outcome of the next Print (status default
//                                          0, hr default 0; hr as a number or "0x…" text)
//   {"do":"browserExit"}                  the browser process ends; optional "kind"
//                                          (default 1 = failed)
//   {"do":"processFailed","kind":N}       a process of the page fails: N is the runtime's
//                                          process-failure kind (0 the browser process, as
//                                          browserExit; 1 the renderer; 2 it hangs; ...)
//   {"do":"evaluate","script":…}          the page runs this script (with Chromium only;
//                                          the recording mode logs an error)
//
// With Chromium (QUORVEL_RUNTIME_ENGINE=chromium) the stimuli are real page actions: a
// message is posted by chrome.webview.postMessage in the page, navigate sets
// location.href, resource is a fetch() by the page, newWindow calls window.open,
// browserExit crashes the browser (closes it for kind 0), and processFailed crashes the
// browser (kind 0) or the page's renderer (kind 1); other kinds are only reported.
//
// Any line may carry "afterMs": the stimulus is played that many milliseconds after the
// previous one (the first: after the first navigation completed). A line with
// "once":true is played to the first view that reaches it in the process, and skipped
// by later views (a browser the host starts again after a failure replays the script).
// A navigate stimulus counts as played when its navigation has completed, so what
// follows it happens on the new page. Lines that cannot be used are reported in the log
// and skipped.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "tools/runtime-standin/headers.h"
#include "webview/abi/WebView2.h"

namespace standin {

class Log;
class WebView;

struct Stimulus {
  enum class Action {
    kNavigate,
    kMessage,
    kMessageJson,
    kResource,
    kNewWindow,
    kPermission,
    kPrintResult,
    kBrowserExit,
    kEvaluate,
    kProcessFailed
  };

  Action action = Action::kMessage;
  UINT after_ms = 0;
  std::wstring uri;           // navigate, resource, newWindow, permission (empty: current page)
  std::wstring message_json;  // message, messageJson: the JSON text
  std::optional<std::wstring> message_text;  // when the message is a string
  std::wstring method = L"GET";
  HeaderList headers;
  int context = COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER;
  int source_kind = COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT;
  std::string script;   // evaluate
  int kind = 0;         // permission kind, print status, exit or process-failure kind
  HRESULT code = S_OK;  // printResult
  bool once = false;    // played to one view of the process only
};

// The stimuli of the file at `path` (none for an empty path), with every problem logged.
std::vector<Stimulus> ReadScript(const std::wstring& path, Log& log);

// Plays the runtime's stimuli to one view.
class ScriptPlayer {
 public:
  explicit ScriptPlayer(WebView& view) : view_(view) {}

  // After the view's first successful navigation; later calls do nothing.
  void Start();
  // The navigation of a navigate stimulus has ended, in whatever way.
  void NavigationFinished();
  // The view closed: nothing more is played.
  void Stop();

 private:
  void ScheduleNext();
  void PlayNext();
  // Moves past the "once" lines another view played already; claims the next one.
  void SkipPlayedOnce();
  void Play(const Stimulus& stimulus);

  WebView& view_;
  bool started_ = false;
  bool stopped_ = false;
  std::size_t next_ = 0;
  UINT_PTR timer_ = 0;
};

}  // namespace standin
