#include "print/printer_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<PrinterInfo> Installed(std::initializer_list<const char16_t*> names) {
  std::vector<PrinterInfo> printers;
  for (const char16_t* name : names) printers.push_back({name, u"FILE:", u"Driver", false});
  return printers;
}

std::vector<std::u16string> Names(const std::vector<PrinterInfo>& printers) {
  std::vector<std::u16string> names;
  for (const PrinterInfo& printer : printers) names.push_back(printer.name);
  return names;
}

std::vector<bool> Defaults(const std::vector<PrinterInfo>& printers) {
  std::vector<bool> marks;
  for (const PrinterInfo& printer : printers) marks.push_back(printer.isDefault);
  return marks;
}

TEST(PrinterOrder, DefaultFirstThenUpperCaseBeforeLowerCase) {
  auto printers = Installed({u"Beta", u"alpha", u"Zeta"});
  OrderPrinters(printers, u"Zeta");
  EXPECT_EQ(Names(printers), (std::vector<std::u16string>{u"Zeta", u"Beta", u"alpha"}));
  EXPECT_EQ(Defaults(printers), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(printers[1].port, u"FILE:");  // the whole record moves with its name
}

TEST(PrinterOrder, WithoutDefaultNoneIsMarkedAndCodeUnitOrderDecides) {
  // A proper prefix first; a surrogate pair (0xD83D...) before U+FF21 although its code
  // point is larger; letters beyond ASCII after all of ASCII.
  auto printers =
      Installed({u"\uFF21", u"Printer 2", u"\U0001F5A8", u"\u00C4rzte", u"Printer", u"alpha"});
  OrderPrinters(printers, u"");
  EXPECT_EQ(Names(printers),
            (std::vector<std::u16string>{u"Printer", u"Printer 2", u"alpha", u"\u00C4rzte",
                                         u"\U0001F5A8", u"\uFF21"}));
  EXPECT_EQ(Defaults(printers), std::vector<bool>(6, false));

  printers = Installed({u"Beta", u"alpha"});
  OrderPrinters(printers, u"Gone");  // a default that is not installed any more
  EXPECT_EQ(Names(printers), (std::vector<std::u16string>{u"Beta", u"alpha"}));
  EXPECT_EQ(Defaults(printers), (std::vector<bool>{false, false}));
}

TEST(PrinterOrder, DefaultNameMatchesIgnoringLetterCase) {
  auto printers = Installed({u"Beta", u"Office Printer", u"alpha"});
  OrderPrinters(printers, u"OFFICE printer");
  EXPECT_EQ(Names(printers), (std::vector<std::u16string>{u"Office Printer", u"Beta", u"alpha"}));
  EXPECT_EQ(Defaults(printers), (std::vector<bool>{true, false, false}));

  EXPECT_TRUE(IsDefaultPrinterName(u"\\\\server\\Lab", u"\\\\SERVER\\lab"));
  EXPECT_FALSE(IsDefaultPrinterName(u"Lab", u"Lab 2"));
  EXPECT_FALSE(IsDefaultPrinterName(u"", u""));  // no default printer marks nothing
}

}  // namespace
