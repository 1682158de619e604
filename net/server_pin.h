#pragma once
// The pin check of a TLS connection that has just been made, and its pieces.
#include <windows.h>
// windows.h must come first.
#include <wincrypt.h>

#include <optional>
#include <string>

#include "net/interceptor_rules.h"

// The pin of one certificate: Base64 of the SHA-256 of its DER SubjectPublicKeyInfo.
// Nothing when the key cannot be encoded.
std::optional<std::string> ComputePin(PCCERT_CONTEXT certificate);

// kUnreadable: the server certificate could not be read (no connection was made, for
// one); it proves nothing, and is no sign of an attack either.
enum class PinVerdict { kUnpinned, kMatched, kMismatched, kUnreadable };

// Whether the server of `request`, a WinHTTP request whose TLS handshake has happened,
// proves `host`'s pins: a certificate of its chain carries one, or the chain comes from
// a recognised local HTTPS scanner (kMatched). Shows nothing, so it may run inside a
// WinHTTP callback.
PinVerdict CheckServerPin(void* request, const std::u16string& host);

// What a mismatch leads to: on the platform's own domain, the diagnostic that ends the
// process; on any other host, nothing.
void ReportServerPinFailure(const std::u16string& host);

// CheckServerPin, reported with ReportServerPinFailure on a mismatch. True for an
// unpinned host and a match.
bool VerifyServerPin(void* request, const std::u16string& host);

// What the exemption decision reads from a chain that CertGetCertificateChain built:
// whether the chain, with no error ignored, ends at a root this machine trusts, and the
// issuer names of its certificates.
PresentedChain DescribeChain(PCCERT_CHAIN_CONTEXT chain);

// True when the chain ends at a root this machine trusts, names a recognised
// HTTPS-scanning security product as an issuer, and that product runs here, signed by
// its maker.
bool IsRecognisedInterceptor(PCCERT_CHAIN_CONTEXT chain);
