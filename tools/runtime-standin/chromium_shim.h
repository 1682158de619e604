#pragma once
// What every document of a Chromium-shown view gets before the host's own scripts: the
// runtime's window.chrome.webview (postMessage, addEventListener and removeEventListener
// for "message"). Messages to the host go through a DevTools binding as JSON text;
// messages from the host are handed to the listeners through a function only the
// stand-in calls. A click on a link of another scheme (a quorvel: link on the platform's
// page) is handed to the system, as the runtime hands such addresses to their
// registered program.

namespace standin {

inline constexpr char kPostMessageBinding[] = "__quorvelPostMessage";
inline constexpr char kDeliverFunction[] = "__quorvelDeliver";
inline constexpr char kLaunchBinding[] = "__quorvelLaunchUri";

inline constexpr char kWebViewShim[] = R"js((() => {
  if (window.chrome && window.chrome.webview) return;
  // Taken now, so a page that overwrites the global later cannot intercept its messages.
  const binding = window.__quorvelPostMessage;
  const send = (json) => (typeof binding === 'function' ? binding : window.__quorvelPostMessage)(json);
  const listeners = [];
  const webview = {
    postMessage(message) {
      const json = JSON.stringify(message);
      if (json === undefined) throw new TypeError('postMessage: the message is not serializable');
      send(json);
    },
    addEventListener(type, listener) {
      if (type === 'message' && typeof listener === 'function' && !listeners.includes(listener)) {
        listeners.push(listener);
      }
    },
    removeEventListener(type, listener) {
      const index = listeners.indexOf(listener);
      if (type === 'message' && index >= 0) listeners.splice(index, 1);
    },
  };
  const launch = window.__quorvelLaunchUri;
  const webSchemes = ['http:', 'https:', 'about:', 'data:', 'blob:', 'javascript:', 'file:'];
  window.addEventListener('click', (event) => {
    const link = event.target instanceof Element ? event.target.closest('a[href]') : null;
    if (!link || typeof launch !== 'function') return;
    const scheme = link.protocol;
    if (!scheme || webSchemes.includes(scheme)) return;
    event.preventDefault();
    launch(link.href);
  }, true);
  if (!window.chrome) window.chrome = {};
  Object.defineProperty(window.chrome, 'webview', {value: webview, enumerable: true});
  Object.defineProperty(window, '__quorvelDeliver', {
    value(data) {
      const event = new MessageEvent('message', {data});
      for (const listener of listeners.slice()) {
        // One failing listener must not keep the message from the others.
        try {
          listener.call(webview, event);
        } catch (error) {
          setTimeout(() => { throw error; });
        }
      }
    },
  });
})();)js";

}  // namespace standin
