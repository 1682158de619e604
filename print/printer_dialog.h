#pragma once
// The player's own printer chooser: a small modal dialog in the player's dark style,
// shown instead of the browser's print preview. Windows only.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "print/printer_order.h"

// Called with the dialog once it is shown, e.g. to keep a way to cancel it.
using PrinterDialogShown = std::function<void(HWND dialog)>;

// Lists the installed printers, the default one first and preselected, and returns the
// name of the one the user prints to. Empty when the user cancels, when there is no
// printer, or when the dialog cannot be shown. The dialog ends as cancelled on IDCANCEL.
std::wstring SelectPrinter(HWND owner, const PrinterDialogShown& shown = {});

// The same dialog for the given printers, listed in the given order.
std::wstring SelectPrinterFrom(HWND owner, std::vector<PrinterInfo> printers,
                               const PrinterDialogShown& shown = {});
