#include "tests/print_job/test_printers.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

namespace {

constexpr wchar_t kDriver[] = L"Quorvel Test Driver";
// Files the spooler already holds for Wine's own PostScript driver; nothing prints here.
constexpr wchar_t kDriverFile[] = L"wineps.drv";

std::string Failed(const char* step) {
  return std::string(step) + " failed with error " + std::to_string(GetLastError());
}

wchar_t* Text(const wchar_t* text) { return const_cast<wchar_t*>(text); }

}  // namespace

TestPrinters::TestPrinters(std::vector<std::wstring> names, const std::wstring& defaultName) {
  RemoveAll();
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = Text(kDriver);
  driver.pDriverPath = Text(kDriverFile);
  driver.pDataFile = Text(kDriverFile);
  driver.pConfigFile = Text(kDriverFile);
  driver.pDefaultDataType = Text(L"RAW");
  if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES)) {
    problem_ = Failed("AddPrinterDriverExW");
    return;
  }
  for (const std::wstring& name : names) {
    PRINTER_INFO_2W printer = {};
    printer.pPrinterName = Text(name.c_str());
    printer.pPortName = Text(L"FILE:");
    printer.pDriverName = Text(kDriver);
    printer.pPrintProcessor = Text(L"WinPrint");
    printer.pDatatype = Text(L"RAW");
    const HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (added == nullptr) {
      problem_ = Failed("AddPrinterW");
      return;
    }
    ClosePrinter(added);
  }
  if (!defaultName.empty() && !SetDefaultPrinterW(defaultName.c_str())) {
    problem_ = Failed("SetDefaultPrinterW");
  }
}

TestPrinters::~TestPrinters() {
  if (!keep_) RemoveAll();
}

void TestPrinters::RemoveAll() {
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  if (needed == 0) return;
  std::vector<PRINTER_INFO_2W> buffer(needed / sizeof(PRINTER_INFO_2W) + 1);
  if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<BYTE*>(buffer.data()), needed,
                     &needed, &count)) {
    return;
  }
  for (DWORD i = 0; i < count; ++i) {
    if (buffer[i].pDriverName == nullptr || std::wstring(buffer[i].pDriverName) != kDriver) {
      continue;
    }
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (OpenPrinterW(buffer[i].pPrinterName, &printer, &access)) {
      DeletePrinter(printer);
      ClosePrinter(printer);
    }
  }
}
