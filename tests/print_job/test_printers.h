#pragma once
// Printers installed in the Wine prefix for the length of one test: Wine's spooler has
// none of its own here. They print to a file and use Wine's PostScript driver files.

#include <string>
#include <vector>

class TestPrinters {
 public:
  // Installs `names` and makes `defaultName` the default printer (the spooler keeps it
  // as given, letter case included). Removes leftovers of an earlier run first.
  TestPrinters(std::vector<std::wstring> names, const std::wstring& defaultName);
  ~TestPrinters();
  TestPrinters(const TestPrinters&) = delete;
  TestPrinters& operator=(const TestPrinters&) = delete;

  // Whether every printer was installed; the reason otherwise.
  bool ok() const { return problem_.empty(); }
  const std::string& problem() const { return problem_; }

  // Leaves the printers installed after this object goes, for a run of the whole player.
  void Keep() { keep_ = true; }

  // Removes every printer that uses the test driver.
  static void RemoveAll();

 private:
  std::string problem_;
  bool keep_ = false;
};
