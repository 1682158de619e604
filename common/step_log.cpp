#include "common/step_log.h"

#include <windows.h>

void StepLog(const std::string& text) {
  OutputDebugStringA(text.c_str());
  OutputDebugStringA("\n");
}
