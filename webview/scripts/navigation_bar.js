// Floating navigation bar of the init screen: a drag handle and four buttons that ask
// the host to go home, back, reload or toggle full screen. The bar remembers where the
// learner dragged it, and a loader covers the page while it is being left.
(function () {
  if (window._lumoraNavAdded) return;
  window._lumoraNavAdded = true;

  var BAR_ID = 'lumora-nav-container';
  var LOADER_ID = 'lumora-full-loader';
  var SPIN_KEYFRAMES = '@keyframes lumora-spin{to{transform:rotate(360deg);}}';
  // A press that travels further than this on either axis is a drag, not a click.
  var DRAG_THRESHOLD = 3;
  var DEFAULT_OFFSET = 20;

  var BUTTONS = [
    { symbol: '🏠', label: 'Home', message: 'btn_home' },
    { symbol: '←', label: 'Back', message: 'btn_back' },
    { symbol: '↻', label: 'Reload', message: 'btn_reload' },
    { symbol: '⛶', label: 'Fullscreen', message: 'btn_fullscreen' },
  ];

  var GRIP_SVG =
    '<svg xmlns="http://www.w3.org/2000/svg" width="20" height="20" viewBox="0 0 20 20" ' +
    'fill="#fff"><circle cx="7" cy="4" r="1.8"/><circle cx="13" cy="4" r="1.8"/>' +
    '<circle cx="7" cy="10" r="1.8"/><circle cx="13" cy="10" r="1.8"/>' +
    '<circle cx="7" cy="16" r="1.8"/><circle cx="13" cy="16" r="1.8"/></svg>';

  var BUTTON_STYLE =
    'background:rgba(255, 255, 255, 0.9);border:none;padding:8px;border-radius:8px;' +
    'font-weight:bold;font-family:sans-serif;color:#333;display:flex;' +
    'flex-direction:row;align-items:center;transition:all 0.3s;';
  var LABEL_COLLAPSED =
    'display:inline-block;overflow:hidden;max-width:0;opacity:0;white-space:nowrap;' +
    'margin-left:0;transition:all 0.3s;';

  function post(message) {
    if (window.chrome && window.chrome.webview) {
      window.chrome.webview.postMessage(message);
    }
  }

  function whenParsed(action) {
    if (document.readyState === 'loading') {
      document.addEventListener('DOMContentLoaded', action);
    } else {
      action();
    }
  }

  // Loader shown while the page is left; hidden again after 5 seconds in case the
  // navigation never happens.
  function showLoader() {
    var loader = document.getElementById(LOADER_ID);
    if (loader) {
      loader.style.display = 'flex';
    } else {
      var parent = document.body || document.documentElement;
      if (!parent) return;
      loader = document.createElement('div');
      loader.id = LOADER_ID;
      loader.style.cssText =
        'position:fixed;top:0;left:0;width:100vw;height:100vh;' +
        'background:rgba(255,255,255,0.7);backdrop-filter:blur(3px);' +
        'z-index:2147483647;display:flex;align-items:center;justify-content:center;';
      var spinner = document.createElement('div');
      spinner.style.cssText =
        'width:50px;height:50px;border:5px solid rgba(0,0,0,0.1);' +
        'border-top-color:#3498db;border-radius:50%;' +
        'animation:lumora-spin 1s linear infinite;';
      var spin = document.createElement('style');
      spin.textContent = SPIN_KEYFRAMES;
      loader.appendChild(spinner);
      loader.appendChild(spin);
      parent.appendChild(loader);
    }
    clearTimeout(window._lumoraLoaderTimeout);
    window._lumoraLoaderTimeout = setTimeout(function () {
      var current = document.getElementById(LOADER_ID);
      if (current) current.style.display = 'none';
    }, 5000);
  }

  function storedOffset(key) {
    try {
      var value = parseInt(window.localStorage.getItem(key), 10);
      return isNaN(value) ? DEFAULT_OFFSET : value;
    } catch (e) {
      return DEFAULT_OFFSET;
    }
  }

  // The drag lives outside any one bar: page code may remove the bar, and the observer
  // below puts a new one in its place.
  var bar = null;
  var dragging = false;
  var moved = false;
  var startX = 0;
  var startY = 0;
  var startLeft = 0;
  var startTop = 0;

  function startDrag(event) {
    dragging = true;
    moved = false;
    startX = event.clientX;
    startY = event.clientY;
    startLeft = parseInt(bar.style.left, 10);
    startTop = parseInt(bar.style.top, 10);
  }

  document.addEventListener('mousemove', function (event) {
    if (!dragging) return;
    var dx = event.clientX - startX;
    var dy = event.clientY - startY;
    if (Math.abs(dx) > DRAG_THRESHOLD || Math.abs(dy) > DRAG_THRESHOLD) moved = true;
    bar.style.left = startLeft + dx + 'px';
    bar.style.top = startTop + dy + 'px';
  });

  document.addEventListener('mouseup', function () {
    if (!dragging) return;
    dragging = false;
    if (!moved) return;
    try {
      window.localStorage.setItem('lm_nx', String(parseInt(bar.style.left, 10)));
      window.localStorage.setItem('lm_ny', String(parseInt(bar.style.top, 10)));
    } catch (e) {
      // Without storage the bar simply starts at the default place next time.
    }
  });

  function createButton(item) {
    var button = document.createElement('button');
    button.style.cssText = BUTTON_STYLE;
    button.appendChild(document.createTextNode(item.symbol));
    var label = document.createElement('span');
    label.className = 'nav-text';
    label.textContent = item.label;
    label.style.cssText = LABEL_COLLAPSED;
    button.appendChild(label);
    button.addEventListener('click', function (event) {
      // The click that ends a drag is not a press of the button.
      if (moved) {
        event.preventDefault();
        event.stopPropagation();
        return;
      }
      // Full screen stays on the same page, so there is nothing to wait for.
      if (item.message !== 'btn_fullscreen') showLoader();
      post(item.message);
    });
    return button;
  }

  function setExpanded(expanded) {
    bar.style.opacity = expanded ? '1' : '0.4';
    bar.style.transform = expanded ? 'scale(1.05)' : 'scale(1)';
    var buttons = bar.querySelectorAll('button');
    for (var i = 0; i < buttons.length; i++) {
      buttons[i].style.padding = expanded ? '8px 16px' : '8px';
    }
    var labels = bar.querySelectorAll('.nav-text');
    for (var j = 0; j < labels.length; j++) {
      labels[j].style.maxWidth = expanded ? '50px' : '0';
      labels[j].style.opacity = expanded ? '1' : '0';
      labels[j].style.marginLeft = expanded ? '4px' : '0';
    }
  }

  function addBar() {
    if (document.getElementById(BAR_ID)) return;
    var parent = document.body || document.documentElement;
    if (!parent) return;

    bar = document.createElement('div');
    bar.id = BAR_ID;
    bar.style.cssText =
      'position:fixed;left:' + storedOffset('lm_nx') + 'px;top:' + storedOffset('lm_ny') +
      'px;z-index:2147483646;display:flex;flex-direction:row;gap:10px;padding:8px;' +
      'background:rgba(0, 0, 0, 0.4);backdrop-filter:blur(10px);border-radius:12px;' +
      'transition:all 0.3s ease;opacity:0.4;align-items:center;' +
      'box-shadow:0 4px 6px rgba(0,0,0,0.1);';

    var handle = document.createElement('div');
    handle.style.cssText = 'width:20px;height:20px;cursor:grab;opacity:0.7;';
    handle.innerHTML = GRIP_SVG;
    bar.appendChild(handle);

    for (var i = 0; i < BUTTONS.length; i++) bar.appendChild(createButton(BUTTONS[i]));

    bar.addEventListener('mousedown', startDrag);
    bar.addEventListener('mouseenter', function () {
      setExpanded(true);
    });
    bar.addEventListener('mouseleave', function () {
      setExpanded(false);
    });
    parent.appendChild(bar);
  }

  function keepBar() {
    new MutationObserver(function () {
      if (document.body && !document.getElementById(BAR_ID)) addBar();
    }).observe(document.documentElement, { childList: true, subtree: true });
  }

  window.addEventListener('beforeunload', showLoader);
  whenParsed(addBar);
  if (document.documentElement) {
    keepBar();
  } else {
    document.addEventListener('DOMContentLoaded', keepBar);
  }
})();
