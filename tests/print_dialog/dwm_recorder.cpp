// A stand-in for the Desktop Window Manager's library, loaded into the dialog demo in
// place of Wine's, which accepts every attribute without a trace. It records each
// DwmSetWindowAttribute as "ATTRIBUTE VALUE" lines in the file named by QUORVEL_DWM_LOG
// and refuses the attribute numbered by QUORVEL_DWM_REFUSE, as a system too old for it
// would.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

extern "C" __declspec(dllexport) HRESULT WINAPI
    DwmSetWindowAttribute(HWND, DWORD attribute, LPCVOID value, DWORD size) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"QUORVEL_DWM_LOG", path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    if (FILE* log = _wfopen(path, L"a")) {
      const unsigned long number = size == sizeof(DWORD) && value != nullptr
                                       ? *static_cast<const DWORD*>(value)
                                       : 0xFFFFFFFFul;
      std::fprintf(log, "%lu %lu\n", static_cast<unsigned long>(attribute), number);
      std::fclose(log);
    }
  }
  char refused[16] = {};
  if (GetEnvironmentVariableA("QUORVEL_DWM_REFUSE", refused, sizeof refused) > 0 &&
      std::strtoul(refused, nullptr, 10) == attribute) {
    return E_INVALIDARG;
  }
  return S_OK;
}
