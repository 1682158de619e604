#include "diag/diagnostic_window.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>

#include "diag/countdown_layout.h"
#include "diag/countdown_window.h"
#include "diag/follow_up_command.h"

namespace {

std::atomic<PreExitHook> g_preExitHook{nullptr};
// Set by the first caller, so a second failing thread does not run the hook again.
std::atomic<bool> g_preExitHookClaimed{false};

const wchar_t* Wide(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

void RunPreExitHookOnce() {
  if (g_preExitHookClaimed.exchange(true)) return;
  if (const PreExitHook hook = g_preExitHook.load()) hook();
}

// Plain 8-bit text, so any program can paste it. Any failure only skips the copy.
void CopyToClipboard(std::string_view code) {
  if (!OpenClipboard(nullptr)) return;
  if (EmptyClipboard()) {
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, code.size() + 1)) {
      bool handedOver = false;
      if (auto* bytes = static_cast<char*>(GlobalLock(memory))) {
        std::memcpy(bytes, code.data(), code.size());
        bytes[code.size()] = '\0';
        GlobalUnlock(memory);
        handedOver = SetClipboardData(CF_TEXT, memory) != nullptr;
      }
      // Once handed over the clipboard owns the memory; otherwise it is still ours.
      if (!handedOver) GlobalFree(memory);
    }
  }
  CloseClipboard();
}

// The host is named by its full path in the system folder, so an mshta.exe in the
// current folder is never the one started; the command line itself still begins with
// "mshta" as the host expects.
std::wstring HtmlApplicationHostPath() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\mshta.exe";
}

bool StartFollowUpWindow(std::u16string_view caption, std::u16string_view englishText,
                         std::u16string_view arabicText, std::u16string_view code) {
  const std::u16string line = BuildFollowUpCommandLine(caption, englishText, arabicText, code);
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring commandLine(Wide(line), line.size());
  const std::wstring host = HtmlApplicationHostPath();

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(host.empty() ? nullptr : host.c_str(), commandLine.data(), nullptr, nullptr,
                      FALSE, DETACHED_PROCESS, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

void SetPreExitHook(PreExitHook hook) { g_preExitHook.store(hook); }

void ShowDiagnosticAndExit(std::u16string_view caption, std::u16string_view englishText,
                           std::u16string_view arabicText, std::string_view code) {
  RunPreExitHookOnce();
  CopyToClipboard(code);

  const std::u16string shownCode = WidenCodeBytes(code);
  RunCountdownWindow(caption, englishText, arabicText, shownCode, kCountdownSeconds);

  if (!StartFollowUpWindow(caption, englishText, arabicText, shownCode)) {
    const std::u16string text = FollowUpFallbackText(englishText, arabicText, shownCode);
    const std::u16string title(caption);
    MessageBoxW(nullptr, Wide(text), Wide(title), MB_TOPMOST | MB_SETFOREGROUND | MB_ICONERROR);
  }
  ExitProcess(0);
}
