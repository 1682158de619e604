#include "print/printer_list.h"

#include <windows.h>
#include <winspool.h>

#include <string>

#include "common/wide_text.h"

namespace {

// Empty when there is no default printer or its name does not fit.
std::wstring DefaultPrinterName() {
  wchar_t name[256] = {};
  DWORD size = ARRAYSIZE(name);
  if (!GetDefaultPrinterW(name, &size)) return {};
  return name;
}

std::u16string Text(const wchar_t* text) {
  return text != nullptr ? FromWide(text) : std::u16string();
}

}  // namespace

std::vector<PrinterInfo> EnumerateInstalledPrinters() {
  const std::wstring defaultName = DefaultPrinterName();
  std::vector<PrinterInfo> printers;

  constexpr DWORD kFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrintersW(kFlags, nullptr, 2, nullptr, 0, &needed, &count);
  if (needed == 0) return printers;
  // PRINTER_INFO_2 records point into the same buffer, so it must be aligned for them.
  std::vector<PRINTER_INFO_2W> buffer(needed / sizeof(PRINTER_INFO_2W) + 1);
  if (!EnumPrintersW(kFlags, nullptr, 2, reinterpret_cast<BYTE*>(buffer.data()), needed, &needed,
                     &count)) {
    return printers;
  }
  for (DWORD i = 0; i < count; ++i) {
    const PRINTER_INFO_2W& info = buffer[i];
    printers.push_back(
        {Text(info.pPrinterName), Text(info.pPortName), Text(info.pDriverName), false});
  }
  OrderPrinters(printers, FromWide(defaultName));
  return printers;
}
