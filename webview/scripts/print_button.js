// Round print button over PDF documents; a click asks the host to print.
(function () {
  if (window._lumoraPrintBtnAdded) return;
  window._lumoraPrintBtnAdded = true;

  var BUTTON_ID = 'lumora-print-btn';

  function addButton() {
    if (document.getElementById(BUTTON_ID)) return;
    var parent = document.body || document.documentElement;
    if (!parent) return;

    var button = document.createElement('button');
    button.id = BUTTON_ID;
    button.innerHTML = '&#128424;';
    button.title = 'Print';
    button.style.cssText =
      'position:fixed;bottom:24px;right:24px;width:48px;height:48px;border-radius:50%;' +
      'border:none;background:rgba(33,150,243,0.9);color:#fff;font-size:22px;' +
      'cursor:pointer;z-index:2147483647;display:flex;align-items:center;' +
      'justify-content:center;box-shadow:0 4px 12px rgba(0,0,0,0.3);' +
      'transition:transform 0.2s,background 0.2s;';
    button.addEventListener('mouseenter', function () {
      button.style.transform = 'scale(1.1)';
      button.style.background = 'rgba(33,150,243,1)';
    });
    button.addEventListener('mouseleave', function () {
      button.style.transform = 'scale(1)';
      button.style.background = 'rgba(33,150,243,0.9)';
    });
    button.addEventListener('click', function () {
      if (window.chrome && window.chrome.webview) {
        window.chrome.webview.postMessage('requestPrint');
      }
    });
    parent.appendChild(button);
  }

  // Page code that removes the button sees it back before its next task runs.
  function keepButton() {
    new MutationObserver(function () {
      if (document.body && !document.getElementById(BUTTON_ID)) addButton();
    }).observe(document.documentElement, { childList: true, subtree: true });
  }

  // The script runs when the document is created, before it has a root element: the
  // button and its observer wait for the parsed document then.
  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', addButton);
  } else {
    addButton();
  }
  if (document.documentElement) {
    keepButton();
  } else {
    document.addEventListener('DOMContentLoaded', keepButton);
  }
})();
