#pragma once
// The process-wide table of public-key pins: which SPKI SHA-256 digests the servers
// of a host (or of a parent domain) must present somewhere in their chain.

#include <optional>
#include <string>
#include <vector>

#include "common/reader_writer_lock.h"

struct PinEntry {
  std::u16string scope;           // host or parent domain, compared in lower case
  std::vector<std::string> pins;  // Base64 of SHA-256 over a DER SubjectPublicKeyInfo
};

class PinStore {
 public:
  // The table every part of the process shares.
  static PinStore& Instance();

  // The table becomes a copy of `entries` (order kept, duplicates allowed).
  void Replace(std::vector<PinEntry> entries);

  // A copy of the entry for `host`: the first scope equal to it, else the longest
  // scope it lies under ("." + scope at its end; the earlier of equal lengths).
  std::optional<PinEntry> Find(std::u16string_view host) const;

 private:
  mutable ReaderWriterLock lock_;
  std::vector<PinEntry> entries_;
};

// The built-in list: one entry for the platform's scope with its four pins.
std::vector<PinEntry> DefaultPins();

// The entries of a pin-list answer, in the order served: a JSON array of objects with
// "scope" and "pins"; elements without both keys or that are not objects are skipped,
// pins lose a leading "sha256/", non-text pins are skipped, entries without pins are
// dropped. Empty when the body is not a JSON array or a "scope" is not text (the
// whole list is then refused).
std::optional<std::vector<PinEntry>> ReadPinList(std::string_view body);
