#include "tools/runtime-standin/config.h"

#include <array>
#include <cstdint>
#include <cstdlib>

#include "common/base64.h"
#include "tools/runtime-standin/text.h"

namespace standin {
namespace {

std::wstring Variable(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
  value.resize(length < size ? length : 0);
  return value;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// How the browser loads a document given as text.
constexpr char kStringDocumentPrefix[] = "data:text/html;charset=utf-8;base64,";

constexpr std::array<std::string_view, 6> kStages = {
    stage::kCreateEnvironmentCall, stage::kCreateEnvironmentCallback,
    stage::kCreateControllerCall,  stage::kCreateControllerCallback,
    stage::kGetCoreWebView2,       stage::kCreatePrintSettings};

}  // namespace

bool Config::Fails(std::string_view step, HRESULT* code) const {
  if (fail_stage != step) return false;
  *code = fail_code;
  return true;
}

std::string StringDocumentDataUrl(const std::wstring& html) {
  return kStringDocumentPrefix + Base64Encode(Utf8(html));
}

std::wstring Config::StringDocumentUri(const std::wstring& html) const {
  return string_document_as_data ? Wide(StringDocumentDataUrl(html)) : L"about:blank";
}

std::wstring Config::AsHostSees(const std::string& url) const {
  if (!string_document_as_data && url.rfind(kStringDocumentPrefix, 0) == 0) return L"about:blank";
  return Wide(url);
}

void ParseFailure(std::string_view value, Config& config) {
  value = Trim(value);
  if (value.empty()) return;
  const std::size_t colon = value.find(':');
  const std::string_view step = Trim(value.substr(0, colon));
  bool known = false;
  for (std::string_view candidate : kStages) known = known || candidate == step;
  if (!known) {
    config.problems.push_back("QUORVEL_RUNTIME_FAIL names no creation step: " + std::string(value));
    return;
  }
  HRESULT code = E_FAIL;
  if (colon != std::string_view::npos) {
    // 0x80004005, 2147500037 and -2147467259 all name E_FAIL.
    const std::string text(Trim(value.substr(colon + 1)));
    char* end = nullptr;
    const long long number = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || end != text.c_str() + text.size() || number < INT32_MIN ||
        number > UINT32_MAX) {
      config.problems.push_back("QUORVEL_RUNTIME_FAIL has no valid HRESULT: " + std::string(value));
      return;
    }
    code = static_cast<HRESULT>(static_cast<std::uint32_t>(number));
  }
  config.fail_stage = step;
  config.fail_code = code;
}

void ParseLacking(std::string_view value, Config& config) {
  while (!value.empty()) {
    const std::size_t comma = value.find(',');
    const std::string_view name = Trim(value.substr(0, comma));
    if (!name.empty()) config.lacking.emplace(name);
    value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
  }
}

Config ReadConfig() {
  Config config;
  config.log_path = Variable(L"QUORVEL_RUNTIME_LOG");
  config.script_path = Variable(L"QUORVEL_RUNTIME_SCRIPT");
  ParseFailure(Utf8(Variable(L"QUORVEL_RUNTIME_FAIL")), config);
  ParseLacking(Utf8(Variable(L"QUORVEL_RUNTIME_LACK")), config);
  const std::string engine = Utf8(Variable(L"QUORVEL_RUNTIME_ENGINE"));
  if (engine == "chromium") {
    config.chromium = true;
  } else if (!engine.empty()) {
    config.problems.push_back("QUORVEL_RUNTIME_ENGINE names no engine: " + engine);
  }
  if (std::string path = Utf8(Variable(L"QUORVEL_RUNTIME_CHROMIUM")); !path.empty()) {
    config.chromium_path = path;
  }
  config.chromium_args = Utf8(Variable(L"QUORVEL_RUNTIME_CHROMIUM_ARGS"));
  config.print_dir = Variable(L"QUORVEL_RUNTIME_PRINT_DIR");
  const std::string form = Utf8(Variable(L"QUORVEL_RUNTIME_STRING_DOCUMENT"));
  if (form == "data") {
    config.string_document_as_data = true;
  } else if (!form.empty() && form != "about") {
    config.problems.push_back("QUORVEL_RUNTIME_STRING_DOCUMENT names no form: " + form);
  }
  return config;
}

}  // namespace standin
