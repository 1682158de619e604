#include "app/startup.h"

#include <windows.h>

#include "app/startup_rules.h"
#include "common/hidden_text.h"

void DrainMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // A window closed meanwhile: the loop that ends the program must still see it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

int GetWindowsMajorVersion() {
  static constexpr auto kModule = QUORVEL_HIDDEN("ntdll.dll");
  static constexpr auto kFunction = QUORVEL_HIDDEN("RtlGetVersion");
  using GetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  const std::string moduleName = kModule.Reveal();
  const HMODULE module = GetModuleHandleA(moduleName.c_str());
  if (module == nullptr) return -1;
  const auto getVersion = reinterpret_cast<GetVersionFunction>(
      reinterpret_cast<void*>(GetProcAddress(module, kFunction.Reveal().c_str())));
  if (getVersion == nullptr) return -1;
  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof(version);  // 284
  if (getVersion(&version) != 0) return -1;
  return WindowsMajorVersion(version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber);
}
