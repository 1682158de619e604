#include "net/pin_gate.h"

#include "net/socket_shutdown.h"

namespace {

// Only the one notification: nothing reaches the callback after the send returns.
constexpr DWORD kNotifySendingRequest = WINHTTP_CALLBACK_STATUS_SENDING_REQUEST;

// Shuts the socket that carries `request`; false when WinHTTP does not say which it is
// or no socket of this process has those ends.
bool ShutDownConnectionOf(HINTERNET request) {
  WINHTTP_CONNECTION_INFO info = {};
  info.cbSize = sizeof(info);
  DWORD size = sizeof(info);
  if (!WinHttpQueryOption(request, WINHTTP_OPTION_CONNECTION_INFO, &info, &size)) return false;
  return ShutDownSocketWithEnds(info.LocalAddress, info.RemoteAddress);
}

}  // namespace

PinGate::PinGate(HINTERNET request, std::u16string host) : host_(std::move(host)) {
  armed_ = WinHttpSetStatusCallback(request, &PinGate::OnStatus, kNotifySendingRequest, 0) !=
           WINHTTP_INVALID_STATUS_CALLBACK;
}

void CALLBACK PinGate::OnStatus(HINTERNET request, DWORD_PTR context, DWORD status, void*, DWORD) {
  if (status == WINHTTP_CALLBACK_STATUS_SENDING_REQUEST && context != 0) {
    reinterpret_cast<PinGate*>(context)->CheckBeforeSending(request);
  }
}

void PinGate::CheckBeforeSending(HINTERNET request) {
  checked_ = true;
  if (refused()) return;
  const PinVerdict verdict = CheckServerPin(request, host_);
  if (verdict == PinVerdict::kUnpinned || verdict == PinVerdict::kMatched) return;
  refusal_ = verdict;
  ShutDownConnectionOf(request);
  WinHttpCloseHandle(request);
}
