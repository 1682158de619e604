#include "print/printer_order.h"

#include <algorithm>

#include "common/text.h"

bool IsDefaultPrinterName(std::u16string_view name, std::u16string_view defaultName) {
  return !defaultName.empty() && AsciiLower(name) == AsciiLower(defaultName);
}

void OrderPrinters(std::vector<PrinterInfo>& printers, std::u16string_view defaultName) {
  for (PrinterInfo& printer : printers) {
    printer.isDefault = IsDefaultPrinterName(printer.name, defaultName);
  }
  // char16_t is unsigned, so the string comparison is the code-unit order.
  std::sort(printers.begin(), printers.end(), [](const PrinterInfo& a, const PrinterInfo& b) {
    if (a.isDefault != b.isDefault) return a.isDefault;
    return a.name < b.name;
  });
}
