// Full-window loading overlay over every document of the player window. It covers the
// page from the moment it is parsed until the page has loaded, or for 5 seconds at most
// when the load event never comes.
(function () {
  if (window._lumoraLoaderAdded) return;
  window._lumoraLoaderAdded = true;

  var OVERLAY_ID = 'lumora-full-loader';

  function addOverlay() {
    if (document.getElementById(OVERLAY_ID)) return;
    var parent = document.body || document.documentElement;
    if (!parent) return;

    var overlay = document.createElement('div');
    overlay.id = OVERLAY_ID;
    overlay.style.cssText =
      'position:fixed;top:0;left:0;width:100vw;height:100vh;background:#202020;' +
      'z-index:2147483647;display:flex;flex-direction:column;align-items:center;' +
      'justify-content:center;transition:opacity 0.5s ease-out;';

    var spinner = document.createElement('div');
    spinner.style.cssText =
      'width:60px;height:60px;border:6px solid rgba(255,255,255,0.2);' +
      'border-top-color:#3498db;border-radius:50%;' +
      'animation:lumora-spin 1s linear infinite;margin-bottom:20px;';

    var label = document.createElement('div');
    label.textContent = 'جاري التحميل... Loading...';
    label.style.cssText = 'color:#fff;font-family:sans-serif;font-size:20px;text-align:center;';

    var spin = document.createElement('style');
    spin.textContent = '@keyframes lumora-spin{to{transform:rotate(360deg);}}';

    overlay.appendChild(spinner);
    overlay.appendChild(label);
    overlay.appendChild(spin);
    parent.appendChild(overlay);
  }

  // Fades the overlay out, then takes it away once the fade is over.
  function hideOverlay() {
    var overlay = document.getElementById(OVERLAY_ID);
    if (!overlay) return;
    overlay.style.opacity = '0';
    setTimeout(function () {
      overlay.remove();
    }, 500);
  }

  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', addOverlay);
  } else {
    addOverlay();
  }
  window.addEventListener('load', hideOverlay);
  // A page whose load event never fires (a request that never ends) must not stay
  // hidden behind the overlay.
  setTimeout(hideOverlay, 5000);
})();
