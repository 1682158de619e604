#pragma once
// The player's own printer chooser: a small modal dialog in the player's dark style,
// shown instead of the browser's print preview. Windows only.

#include <windows.h>

#include <string>
#include <vector>

#include "print/printer_order.h"

// Lists the installed printers, the default one first and preselected, and returns the
// name of the one the user prints to. Empty when the user cancels, when there is no
// printer, or when the dialog cannot be shown.
std::wstring SelectPrinter(HWND owner);

// The same dialog for the given printers, listed in the given order.
std::wstring SelectPrinterFrom(HWND owner, std::vector<PrinterInfo> printers);
