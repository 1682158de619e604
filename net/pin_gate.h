#pragma once
// The pin check that guards a request: run on the connection that carries it, after
// the TLS handshake and before the first byte of the request is written.
//
// WinHTTP tells a status callback WINHTTP_CALLBACK_STATUS_SENDING_REQUEST at exactly
// that point, on every request, whether the connection is new or kept alive from an
// earlier one, and the server certificate can be read there. The gate checks it and,
// when the key is not pinned, stops the request before WinHTTP writes it:
//  - it shuts down the connection's socket, found among this process's sockets by the
//    local and remote ends WinHTTP reports for the request. This is what stops the
//    write under Wine (closing the request handle there does not: the request still
//    went out), and on Windows too, where a shut socket refuses every later send;
//  - it closes the request handle, which is how Windows documents cancelling a
//    request in progress, so the request stops there even if the socket were not
//    found.
// WinHttpSendRequest then fails, and the server has received nothing after the
// handshake. The gate decides nothing itself; it only reports what it saw.
#include <atomic>
#include <string>

#include "net/server_pin.h"
#include "net/winhttp_request.h"

class PinGate {
 public:
  // Arms the gate on a request that is not sent yet; `host` names its pin entry.
  PinGate(HINTERNET request, std::u16string host);
  PinGate(const PinGate&) = delete;
  PinGate& operator=(const PinGate&) = delete;

  // For WinHttpSendRequest's context argument, which the callback receives.
  DWORD_PTR context() { return reinterpret_cast<DWORD_PTR>(this); }

  // The callback is in place. A request whose gate is not armed must not be sent.
  bool armed() const { return armed_; }
  // The connection reached the point of sending at least once (and was checked). A
  // request that went out without this proves nothing, whatever its answer says.
  bool checked() const { return checked_; }
  // A check failed (kMismatched or kUnreadable; kMatched otherwise): nothing of the
  // request was sent, and the request handle is closed (its owner must release it
  // without closing it again).
  bool refused() const { return refusal_ != PinVerdict::kMatched; }
  PinVerdict refusal() const { return refusal_; }

 private:
  static void CALLBACK OnStatus(HINTERNET request, DWORD_PTR context, DWORD status, void* info,
                                DWORD infoLength);
  void CheckBeforeSending(HINTERNET request);

  const std::u16string host_;
  bool armed_ = false;
  std::atomic<bool> checked_ = false;
  std::atomic<PinVerdict> refusal_ = PinVerdict::kMatched;
};
