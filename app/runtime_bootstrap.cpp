#include "app/runtime_bootstrap.h"

#include <windows.h>
// windows.h must come first.
#include <shellapi.h>
#include <urlmon.h>

#include <string>

#include "app/installer_check.h"
#include "common/hidden_text.h"
#include "common/text.h"
#include "common/wide_text.h"
#include "common/windows_paths.h"
#include "webview/com_helpers.h"
#include "webview/runtime_loader.h"

namespace {

constexpr UINT kBoxFlags = MB_TOPMOST | MB_SETFOREGROUND;
// The installer fetches the whole runtime: slow lines take their time, but a hung
// installer must not hold the player for ever.
constexpr DWORD kInstallerWaitMs = 30 * 60 * 1000;

// The runtime's bootstrapper: a small installer that fetches the current runtime.
std::wstring InstallerAddress() {
  static constexpr auto kAddress =
      QUORVEL_HIDDEN("https://go.microsoft.com/fwlink/p/?LinkId=2124703");
  return ToWide(AsciiToUtf16(kAddress.Reveal()));
}

// The organisation in the certificate that signs the runtime's installer.
std::wstring RuntimePublisher() {
  static constexpr auto kPublisher = QUORVEL_HIDDEN("Microsoft Corporation");
  return ToWide(AsciiToUtf16(kPublisher.Reveal()));
}

bool FixedRuntimePresent() {
  const std::wstring executableFolder = ExecutableFolder();
  if (executableFolder.empty()) return false;
  const std::wstring folder = executableFolder + L"\\WebView2Runtime";
  if (!IsExistingFile(folder + L"\\msedgewebview2.exe")) return false;
  CoTaskString version;
  return SUCCEEDED(
             GetAvailableCoreWebView2BrowserVersionString(folder.c_str(), version.Receive())) &&
         !version.View().empty();
}

bool InstalledRuntimePresent() {
  CoTaskString version;
  return SUCCEEDED(GetAvailableCoreWebView2BrowserVersionString(nullptr, version.Receive())) &&
         version.Get() != nullptr;
}

// Started only when its signature is the publisher's: anything else is not the runtime.
void RunAndWait(const std::wstring& installer) {
  if (!IsSignedBy(installer, RuntimePublisher())) {
    DeleteFileW(installer.c_str());
    return;
  }
  SHELLEXECUTEINFOW execute = {};
  execute.cbSize = sizeof(execute);
  execute.fMask = SEE_MASK_NOCLOSEPROCESS;
  execute.lpFile = installer.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&execute)) return;
  if (execute.hProcess != nullptr) {
    WaitForSingleObject(execute.hProcess, kInstallerWaitMs);
    CloseHandle(execute.hProcess);
  }
}

}  // namespace

bool EnsureWebView2Runtime() {
  if (FixedRuntimePresent() || InstalledRuntimePresent()) return true;

  if (MessageBoxW(nullptr,
                  L"WebView2 Runtime is required to run this application.\n"
                  L"يحتاج هذا التطبيق إلى WebView2 Runtime للتشغيل.\n\n"
                  L"Would you like to install it now?",
                  L"Lumora — Component Required",
                  MB_ICONQUESTION | MB_YESNO | kBoxFlags) != IDYES) {
    return false;
  }
  const std::wstring address = InstallerAddress();
  MessageBoxW(nullptr,
              L"WebView2 Runtime is being downloaded and installed.\n"
              L"جاري تحميل وتثبيت WebView2 Runtime.\n\nPlease wait...",
              L"Installing...", MB_ICONINFORMATION | kBoxFlags);

  // A folder of its own, new and private, so no other program can swap the file
  // between the download, the check and the start.
  const std::wstring folder = CreatePrivateDownloadFolder();
  const std::wstring installer = folder + L"\\WebView2Installer.exe";
  if (folder.empty() ||
      FAILED(URLDownloadToFileW(nullptr, address.c_str(), installer.c_str(), 0, nullptr))) {
    if (!folder.empty()) {
      DeleteFileW(installer.c_str());  // what a broken download left
      RemoveDirectoryW(folder.c_str());
    }
    MessageBoxW(nullptr,
                L"Failed to download WebView2 Runtime.\nPlease check your internet connection.",
                L"Download Error", MB_ICONERROR | kBoxFlags);
    return false;
  }
  RunAndWait(installer);
  if (InstalledRuntimePresent()) {
    DeleteFileW(installer.c_str());
    RemoveDirectoryW(folder.c_str());
    return true;
  }
  RemoveDirectoryW(folder.c_str());  // only when empty: a refused installer is gone
  MessageBoxW(nullptr, L"WebView2 installation may have failed.\nPlease restart the application.",
              L"Installation", MB_ICONWARNING | kBoxFlags);
  return false;
}
