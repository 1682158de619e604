#pragma once
// What every test of the runtime stand-in needs: the stand-in laid out as a fixed-version
// runtime beside the test program, entered through the project's loader; a parent window;
// a message loop to pump; the stand-in's settings, given through its environment
// variables; and its log read back.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "nlohmann/json.hpp"
#include "webview/com_helpers.h"

using Microsoft::WRL::ComPtr;
using Json = nlohmann::json;

// <test program folder>\runtime: EBWebView\x64\EmbeddedBrowserWebView.dll and
// msedgewebview2.exe, put there by the build.
std::wstring RuntimeFolder();

// Dispatches the thread's messages until `done` is true or `timeout_ms` passed; whether
// `done` became true.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 5000);
void PumpFor(DWORD milliseconds);

class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Releases everything, lets the stand-in finish what it posted, and checks that none
  // of its objects is left alive.
  void TearDown() override;

  // For the next environment.
  void SetFail(const wchar_t* value);
  void SetLack(const wchar_t* value);
  void SetScript(const std::vector<std::string>& lines);

  // The stand-in's log so far, one object per line.
  std::vector<Json> Log() const;
  // The log lines with "call" (or "event") equal to `name`.
  std::vector<Json> Calls(const std::string& name) const;
  std::vector<Json> Events(const std::string& name) const;

  // Each pumps until the completion arrived and returns the reported code (or the call's
  // code when it refused at once); the object lands in environment_ or controller_.
  HRESULT CreateEnvironment();
  HRESULT CreateController();
  // Both, then the view into view_; fails the test on any error.
  void CreateView();

  // The stand-in's own count of its live objects.
  long LiveObjects() const;

  HWND parent_ = nullptr;
  std::wstring folder_;  // this test's own files
  ComPtr<ICoreWebView2Environment> environment_;
  ComPtr<ICoreWebView2Controller> controller_;
  ComPtr<ICoreWebView2> view_;

 private:
  std::wstring log_path_;
  long live_at_start_ = 0;  // a leak in one test is reported by that test alone
};

// Text for gtest messages and comparisons.
std::string Narrow(std::wstring_view text);
