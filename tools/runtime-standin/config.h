#pragma once
// What the test that runs the host asks of the stand-in, through environment variables
// read once, when the host enters the runtime (CreateWebViewEnvironmentWithOptionsInternal):
//
//   QUORVEL_RUNTIME_LOG=path        JSON-lines record of the host's calls and the events
//   QUORVEL_RUNTIME_SCRIPT=path     JSON-lines stimuli played after the first navigation
//   QUORVEL_RUNTIME_FAIL=STAGE[:HRESULT]   one creation step fails with that code
//   QUORVEL_RUNTIME_LACK=Iface,...  QueryInterface refuses these interfaces
//   QUORVEL_RUNTIME_ENGINE=chromium      pages are really shown and run by a headless
//                                         Chromium instead of being only recorded
//   QUORVEL_RUNTIME_CHROMIUM=path         that Chromium (a Unix path; /usr/bin/chromium)
//   QUORVEL_RUNTIME_CHROMIUM_ARGS=words   more command-line words for it
//   QUORVEL_RUNTIME_PRINT_DIR=path        where Print writes its PDF files (chromium)
//   QUORVEL_RUNTIME_STRING_DOCUMENT=data  a document shown from text is reported by its
//                                         data: address instead of "about:blank"
//
// Each environment keeps what was read when it was created, so a test changes the
// variables between environments.

#include <windows.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// The creation steps QUORVEL_RUNTIME_FAIL can name, by the host's own stage texts.
namespace stage {
inline constexpr std::string_view kCreateEnvironmentCall = "CreateEnvironmentCall";
inline constexpr std::string_view kCreateEnvironmentCallback = "CreateEnvironmentCallback";
inline constexpr std::string_view kCreateControllerCall = "CreateControllerCall";
inline constexpr std::string_view kCreateControllerCallback = "CreateControllerCallback";
inline constexpr std::string_view kGetCoreWebView2 = "GetCoreWebView2";
// Not a creation step: the environment refuses to make print settings.
inline constexpr std::string_view kCreatePrintSettings = "CreatePrintSettings";
}  // namespace stage

struct Config {
  std::wstring log_path;
  std::wstring script_path;
  std::string fail_stage;  // empty: nothing fails
  HRESULT fail_code = E_FAIL;
  std::set<std::string, std::less<>> lacking;
  bool chromium = false;  // QUORVEL_RUNTIME_ENGINE=chromium
  std::string chromium_path = "/usr/bin/chromium";
  std::string chromium_args;
  std::wstring print_dir;                // empty: the log's folder, else %TEMP%
  bool string_document_as_data = false;  // QUORVEL_RUNTIME_STRING_DOCUMENT=data
  // Settings that could not be understood, reported in the log once it is open.
  std::vector<std::string> problems;

  // Whether `step` is the one told to fail; `code` is then the code to report. A code
  // that is not a failure is reported as it is: a call step then claims success and never
  // completes, a completion step reports that code with no object.
  bool Fails(std::string_view step, HRESULT* code) const;

  // The address the host sees for a document shown from `html` (NavigateToString):
  // "about:blank", or the data: address the browser loads.
  std::wstring StringDocumentUri(const std::wstring& html) const;
  // The address the host sees for an address the browser loaded.
  std::wstring AsHostSees(const std::string& url) const;
};

Config ReadConfig();

// The data: address from which the browser loads a document given as text.
std::string StringDocumentDataUrl(const std::wstring& html);

// Parses the value of QUORVEL_RUNTIME_FAIL and QUORVEL_RUNTIME_LACK; public for the tests
// of the stand-in.
void ParseFailure(std::string_view value, Config& config);
void ParseLacking(std::string_view value, Config& config);

}  // namespace standin
