#pragma once
// The one reading of a web address that every decision about where it goes asks: the
// navigation policy, the pin checks, the identifier headers. It reads an http(s)
// address the way a browser does (the URL standard's parser for special schemes), so
// the host it names is the host the browser will contact, whatever tricks the text
// plays: user information with ':' or '@', backslashes, tabs and line breaks, percent
// escapes, numeric IPv4 forms, IPv6 literals, capitals.
//
// It refuses what it cannot read with the browser's certainty (a host that would need
// internationalised-name processing among them); callers treat a refusal as "not a web
// address", which every rule turns into a denial.

#include <optional>
#include <string>
#include <string_view>

struct WebAddress {
  std::u16string scheme;     // "http" or "https"
  bool hasUserInfo = false;  // a user name or password stood before the host
  // What the browser contacts, as `new URL(x).hostname` gives it: lower-case ASCII,
  // IPv4 in dotted decimal, IPv6 compressed and in brackets. Never empty.
  std::u16string host;
  int port = 0;  // the port contacted: the explicit one, else 80 or 443
  // Path, query and fragment as they stand after the authority (may be empty).
  std::u16string rest;
};

// Nothing for any scheme but http and https, and for addresses a browser would refuse.
std::optional<WebAddress> ReadWebAddress(std::u16string_view address);

// The host equals `domain` or lies under it ("a.b.example" under "b.example"); both
// lower-case. An empty domain matches nothing.
bool HostIsOrIsUnder(std::u16string_view host, std::u16string_view domain);
