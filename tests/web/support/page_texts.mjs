// The page scripts and pages exactly as the program makes them, from the native build's
// quorvel_page_texts (its path comes from CTest in QUORVEL_PAGE_TEXTS), and the folder
// for screenshots (QUORVEL_WEB_OUTPUT).

import { execFileSync } from 'node:child_process';
import { mkdirSync } from 'node:fs';
import path from 'node:path';

function tool() {
  const file = process.env.QUORVEL_PAGE_TEXTS;
  if (!file) throw new Error('QUORVEL_PAGE_TEXTS must name the built quorvel_page_texts');
  return file;
}

function pageText(...args) {
  return execFileSync(tool(), args, { encoding: 'utf8' });
}

export const loadingOverlayScript = () => pageText('overlay');
export const printRedirectScript = () => pageText('print-redirect');
export const printButtonScript = () => pageText('print-button');
export const navigationBarScript = () => pageText('nav-bar');
export const watermarkScript = (text) => pageText('watermark', text);
export const pageScriptWrapper = (script) => pageText('page-script', script);
export const contentPage = (address, watermark, title) =>
  pageText('content-page', address, watermark, title);

export function outputFile(name) {
  const folder = process.env.QUORVEL_WEB_OUTPUT ?? path.join(process.cwd(), 'web-output');
  mkdirSync(folder, { recursive: true });
  return path.join(folder, name);
}
