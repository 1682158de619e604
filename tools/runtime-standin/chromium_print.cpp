// Printing in a Chromium-shown view: the page is printed to a PDF file, which stands in
// for the printer. Files are print-<n>.pdf in QUORVEL_RUNTIME_PRINT_DIR, else beside the
// log, else in %TEMP%.

#include <filesystem>
#include <fstream>

#include "common/base64.h"
#include "tools/runtime-standin/chromium_page.h"
#include "tools/runtime-standin/webview.h"

namespace standin {
namespace {

std::wstring PrintFolder(const Config& config) {
  if (!config.print_dir.empty()) return config.print_dir;
  if (!config.log_path.empty()) {
    const std::filesystem::path parent = std::filesystem::path(config.log_path).parent_path();
    if (!parent.empty()) return parent.wstring();
  }
  wchar_t temp[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, temp);
  return length > 0 && length < MAX_PATH ? std::wstring(temp, length) : L".";
}

// print-1.pdf, print-2.pdf, …: the first that does not exist yet, so runs never overwrite
// each other's files.
std::filesystem::path NextPrintFile(const std::wstring& folder, int& counter) {
  std::filesystem::path file;
  std::error_code ignored;
  do {
    file = std::filesystem::path(folder) / (L"print-" + std::to_wstring(++counter) + L".pdf");
  } while (std::filesystem::exists(file, ignored));
  return file;
}

}  // namespace

void ChromiumPage::PrintToPdf(const Json& options,
                              std::function<void(HRESULT, const std::wstring&)> done) {
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  Send("Page.printToPDF", options, [self, done](const Json& result, const std::string& error) {
    auto alive = self.lock();
    if (alive == nullptr) return;
    const std::optional<std::string> pdf = Base64DecodeStrict(result.value("data", std::string()));
    if (!error.empty() || !pdf || pdf->empty()) {
      done(E_FAIL, L"");
      return;
    }
    const std::wstring folder = PrintFolder(alive->view_.shared_state()->config);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::filesystem::path file = NextPrintFile(folder, alive->prints_);
    std::ofstream out(file, std::ios::binary);
    out.write(pdf->data(), static_cast<std::streamsize>(pdf->size()));
    out.close();
    if (!out) {
      done(HRESULT_FROM_WIN32(ERROR_WRITE_FAULT), L"");
      return;
    }
    done(S_OK, file.wstring());
  });
}

}  // namespace standin
