#pragma once
// The printers installed for the user, asked of the print spooler. Windows only.

#include <vector>

#include "print/printer_order.h"

// Local and connected printers, the default one first and marked. A spooler failure
// gives an empty list.
std::vector<PrinterInfo> EnumerateInstalledPrinters();
