// Sends every attempt of the page to print to the host, which prints through its own
// dialog; the browser's print preview never opens.
(function () {
  if (window._lumoraPrintBlockAdded) return;
  window._lumoraPrintBlockAdded = true;

  function requestPrint() {
    if (window.chrome && window.chrome.webview) {
      window.chrome.webview.postMessage('requestPrint');
    }
  }

  // Assigned first so the property holds the redirect, then locked so that page code
  // can neither assign nor redefine the browser's own printing back.
  window.print = requestPrint;
  Object.defineProperty(window, 'print', {
    value: requestPrint,
    writable: false,
    configurable: false,
  });

  // Capture phase on the document: the page's own key handlers never see Ctrl+P.
  document.addEventListener(
    'keydown',
    function (event) {
      if ((event.ctrlKey || event.metaKey) && event.key === 'p') {
        event.preventDefault();
        event.stopImmediatePropagation();
        requestPrint();
      }
    },
    true
  );

  window.addEventListener(
    'beforeprint',
    function (event) {
      event.preventDefault();
    },
    true
  );
})();
