#pragma once
// The module this code is linked into: the stand-in DLL, or a test program built from its
// sources. Window classes of the stand-in belong to it.

#include <windows.h>

namespace standin {

inline HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

}  // namespace standin
