#pragma once
// The pin check of a TLS connection that has just been made, and its pieces.
#include <windows.h>
// windows.h must come first.
#include <wincrypt.h>

#include <optional>
#include <string>

// The pin of one certificate: Base64 of the SHA-256 of its DER SubjectPublicKeyInfo.
// Nothing when the key cannot be encoded.
std::optional<std::string> ComputePin(PCCERT_CONTEXT certificate);

// True when the host is not pinned, when a certificate of the server's chain carries
// one of the host's pins, or when the chain comes from a recognised local HTTPS
// scanner. False when the server certificate cannot be read or nothing matches; a
// mismatch on the platform's own domain ends the process with a diagnostic instead.
// `request` is a WinHTTP request whose TLS handshake has happened.
bool VerifyServerPin(void* request, const std::u16string& host);

// True when a certificate of the chain was issued by a recognised HTTPS-scanning
// security product that is running on this machine and signed by its maker.
bool IsRecognisedInterceptor(PCCERT_SIMPLE_CHAIN chain);
