#include "app/update_prompt.h"

#include <windows.h>
// windows.h must come first.
#include <shellapi.h>

#include "app/startup_rules.h"
#include "common/wide_text.h"

namespace {

constexpr UINT kBoxFlags = MB_TOPMOST | MB_SETFOREGROUND;

void OpenDownloadPage(const VersionInfo& info) {
  const std::wstring address = ToWide(UpdateDownloadAddress(info.link));
  ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

bool RunUpdatePrompt(const VersionInfo& info) {
  if (!info.updateAvailable) return true;
  if (info.isRequired) {
    const int answer = MessageBoxW(
        nullptr,
        L"A mandatory update is available. You must download the new version to continue.\n"
        L"تحديث إجباري متاح. يجب عليك تحميل الإصدار الجديد للمتابعة.",
        L"Quorvel - Update Required", MB_ICONWARNING | MB_OKCANCEL | kBoxFlags);
    if (answer == IDOK) OpenDownloadPage(info);
    return false;
  }
  const int answer =
      MessageBoxW(nullptr,
                  L"A new version of the app is available. Would you like to update now?\n"
                  L"يوجد تحديث جديد للتطبيق. هل ترغب في التحديث الآن؟",
                  L"Quorvel - Update Available", MB_ICONINFORMATION | MB_YESNO | kBoxFlags);
  if (answer != IDYES) return true;
  OpenDownloadPage(info);
  return false;
}
