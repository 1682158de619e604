#pragma once
// The printer dialog's layout as an in-memory dialog template, so the dialog needs no
// resource file. Windows only.

#include <windows.h>

#include <vector>

namespace printer_dialog {

// Control ids, shared by the template and the dialog procedure.
constexpr int kListId = 1001;
constexpr int kPrintId = 1002;
constexpr int kCancelId = 1003;
constexpr int kPromptId = 1004;
constexpr int kEmptyMessageId = 1005;

// The template in DWORD-aligned storage, ready for DialogBoxIndirectParamW.
std::vector<DWORD> BuildTemplate();

}  // namespace printer_dialog
