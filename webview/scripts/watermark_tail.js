';

  function addWatermark() {
    if (document.getElementById(WATERMARK_ID)) return;
    var parent = document.body || document.documentElement;
    if (!parent) return;

    var layer = document.createElement('div');
    layer.id = WATERMARK_ID;
    layer.textContent = text;
    layer.style.cssText =
      'position:fixed;top:0;left:0;width:100%;height:100%;pointer-events:none;' +
      'z-index:2147483646;opacity:0.15;display:flex;align-items:center;' +
      'justify-content:center;font-size:3vw;color:red;transform:rotate(-30deg);' +
      'font-family:Arial,sans-serif;font-weight:bold;';
    parent.appendChild(layer);
  }

  // Page code that removes the layer sees it back before its next task runs.
  function keepWatermark() {
    new MutationObserver(function () {
      if (document.body && !document.getElementById(WATERMARK_ID)) addWatermark();
    }).observe(document.documentElement, { childList: true, subtree: true });
  }

  // The script runs when the document is created, before it has a root element: the
  // layer and its observer wait for the parsed document then.
  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', addWatermark);
  } else {
    addWatermark();
  }
  if (document.documentElement) {
    keepWatermark();
  } else {
    document.addEventListener('DOMContentLoaded', keepWatermark);
  }
})();
