// Looks at and answers the player's windows from outside its process, as a person
// would: message boxes, the main window, the clipboard.
//
//   window_probe answer TEXT BUTTON_ID TIMEOUT_MS  press a button of the message box whose
//                                                   caption contains TEXT; prints its text
//   window_probe close TEXT TIMEOUT_MS             close the top-level window whose title
//                                                   contains TEXT
//   window_probe find TEXT TIMEOUT_MS              print class, style, rectangle, the client
//                                                   area's screen origin and its size
//   window_probe send TEXT MESSAGE TIMEOUT_MS      send MESSAGE (a number, both parameters
//                                                   0) to the window whose title contains
//                                                   TEXT and wait for its answer, as
//                                                   another thread of the player would
//   window_probe clipboard                         print the clipboard's 8-bit text
//   window_probe trust PEM_PATH                    make a test root trusted machine-wide
//   window_probe printers NAME...                  install test printers (printing to a
//                                                   file), the first one the default
//   window_probe pick PRINTER TIMEOUT_MS           in the printer dialog, choose PRINTER
//                                                   and press Print; prints what it listed
//
// TEXT is matched as a substring of the title, so ASCII fragments of mixed-language
// captions can be given on any command line. Exit code 0 when done, 2 on time-out.
#include <windows.h>
// windows.h must come first.
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "print/printer_dialog_template.h"
#include "tests/print_job/test_printers.h"

namespace {

struct Search {
  std::wstring fragment;
  bool dialogsOnly = false;
  HWND found = nullptr;
};

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 0 ? size - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  if (search->dialogsOnly && std::wstring(className) != L"#32770") return TRUE;
  if (TextOf(window).find(search->fragment) == std::wstring::npos) return TRUE;
  search->found = window;
  return FALSE;
}

HWND WaitFor(const std::wstring& fragment, bool dialogsOnly, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  do {
    Search search{fragment, dialogsOnly};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(100);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM parameter) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, static_cast<int>(std::size(className)));
  if (std::wstring(className) == L"Static")
    *reinterpret_cast<std::wstring*>(parameter) += TextOf(child);
  return TRUE;
}

int Answer(const std::wstring& fragment, int button, DWORD timeoutMs) {
  const HWND box = WaitFor(fragment, true, timeoutMs);
  if (box == nullptr) return 2;
  std::wstring text;
  EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
  std::printf("caption=%s\ntext=%s\n", Utf8(TextOf(box)).c_str(), Utf8(text).c_str());
  std::fflush(stdout);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  return 0;
}

int Find(const std::wstring& fragment, DWORD timeoutMs, bool close) {
  const HWND window = WaitFor(fragment, false, timeoutMs);
  if (window == nullptr) return 2;
  RECT rect = {};
  GetWindowRect(window, &rect);
  wchar_t className[128] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  POINT client = {0, 0};
  ClientToScreen(window, &client);
  RECT clientRect = {};
  GetClientRect(window, &clientRect);
  std::printf(
      "class=%s\ntitle=%s\nstyle=%08lx\nrect=%ld,%ld,%ld,%ld\nclient=%ld,%ld\nclientSize=%ld,%ld\n",
      Utf8(className).c_str(), Utf8(TextOf(window)).c_str(),
      static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)), rect.left, rect.top,
      rect.right, rect.bottom, client.x, client.y, clientRect.right, clientRect.bottom);
  std::fflush(stdout);
  if (close) PostMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}

int Send(const std::wstring& fragment, UINT message, DWORD timeoutMs) {
  const HWND window = WaitFor(fragment, false, timeoutMs);
  if (window == nullptr) return 2;
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, message, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs,
                             &ignored) != 0
             ? 0
             : 1;
}

int Clipboard() {
  if (!OpenClipboard(nullptr)) return 1;
  const HANDLE data = GetClipboardData(CF_TEXT);
  if (data != nullptr) {
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
      std::printf("%s", text);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return 0;
}

// The platform simulator's test root, as an administrator would install a root.
int Trust(const wchar_t* pemPath) {
  std::ifstream file(pemPath, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  const std::string pem = text.str();
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                            nullptr, &size, nullptr, nullptr)) {
    return 1;
  }
  std::vector<BYTE> der(size);
  CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                       der.data(), &size, nullptr, nullptr);
  HCERTSTORE store =
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
  if (store == nullptr) return 1;
  const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                                      CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  CertCloseStore(store, 0);
  return added ? 0 : 1;
}

int InstallPrinters(int count, wchar_t** names) {
  TestPrinters printers(std::vector<std::wstring>(names, names + count), names[0]);
  printers.Keep();
  if (!printers.ok()) std::fprintf(stderr, "%s\n", printers.problem().c_str());
  return printers.ok() ? 0 : 1;
}

// The player's printer dialog, worked as a user would: the list's item, then Print.
int PickPrinter(const std::wstring& printer, DWORD timeoutMs) {
  const HWND dialog = WaitFor(L"Select Printer", true, timeoutMs);
  if (dialog == nullptr) return 2;
  const HWND list = GetDlgItem(dialog, printer_dialog::kListId);
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  LRESULT chosen = LB_ERR;
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    std::printf("listed=%s\n", Utf8(text).c_str());
    if (text == printer) chosen = i;
  }
  std::fflush(stdout);
  if (chosen == LB_ERR) return 1;
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(printer_dialog::kPrintId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, printer_dialog::kPrintId)));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"answer" && argc == 5) return Answer(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
  if (command == L"close" && argc == 4) return Find(argv[2], _wtoi(argv[3]), true);
  if (command == L"find" && argc == 4) return Find(argv[2], _wtoi(argv[3]), false);
  if (command == L"send" && argc == 5) {
    return Send(argv[2], static_cast<UINT>(wcstoul(argv[3], nullptr, 0)), _wtoi(argv[4]));
  }
  if (command == L"clipboard") return Clipboard();
  if (command == L"trust" && argc == 3) return Trust(argv[2]);
  if (command == L"printers" && argc >= 3) return InstallPrinters(argc - 2, argv + 2);
  if (command == L"pick" && argc == 4) return PickPrinter(argv[2], _wtoi(argv[3]));
  std::fprintf(stderr,
               "usage: window_probe answer|close|find|send|clipboard|trust|printers|pick ...\n");
  return 64;
}
