// Watermark layer over PDF documents. The program puts the escaped watermark text
// between this part, which ends inside the string literal, and watermark_tail.js.
(function () {
  if (window._lumoraWatermarkAdded) return;
  window._lumoraWatermarkAdded = true;

  var WATERMARK_ID = 'lumora-watermark';
  var text = '
