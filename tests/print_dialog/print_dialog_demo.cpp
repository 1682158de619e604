// Shows the printer dialog for the window test with a list of printers of its choosing,
// since the test machine's spooler may have none:
//   print_dialog_demo.exe [--default NAME] [PRINTER...]
// The printers are ordered as the spooler's list would be. The chosen name is written
// as one line "result=NAME" (UTF-8; empty when cancelled).
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "common/wide_text.h"
#include "print/printer_dialog.h"
#include "print/printer_order.h"

int main(int argc, char** argv) {
  std::u16string defaultName;
  std::vector<PrinterInfo> printers;
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--default" && i + 1 < argc) {
      defaultName = Utf8ToUtf16(argv[++i]);
    } else {
      printers.push_back({Utf8ToUtf16(argv[i]), u"FILE:", u"Test Driver", false});
    }
  }
  OrderPrinters(printers, defaultName);
  const std::wstring chosen = SelectPrinterFrom(nullptr, std::move(printers));
  std::printf("result=%s\n", Utf16ToUtf8(FromWide(chosen)).c_str());
  return 0;
}
