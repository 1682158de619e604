#pragma once
// The printers the user can choose from, in the order the printer dialog lists them.

#include <string>
#include <string_view>
#include <vector>

struct PrinterInfo {
  std::u16string name;  // the spooler's printer name, which the print job is given
  std::u16string port;
  std::u16string driver;
  bool isDefault = false;
};

// Whether `name` is the default printer's name, ignoring the case of A-Z. An empty
// default (there is none) matches nothing.
bool IsDefaultPrinterName(std::u16string_view name, std::u16string_view defaultName);

// Marks the printers named like `defaultName` as default and sorts the list: default
// printers first, then by name in UTF-16 code-unit order (case-sensitive, so "Beta"
// comes before "alpha", and a name before its longer extensions).
void OrderPrinters(std::vector<PrinterInfo>& printers, std::u16string_view defaultName);
