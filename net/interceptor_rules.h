#pragma once
// Security products that scan HTTPS by re-signing it with a local root of their own.
// A chain issued by one of them fails every pin, yet the connection is the learner's
// own machine talking; the player tolerates it when the product is really running
// and really signed by its maker.

#include <optional>
#include <string>
#include <vector>

struct InterceptorRule {
  std::u16string issuerFragment;             // lower case; empty matches every issuer
  std::vector<std::u16string> processNames;  // lower-case executable file names, one to three
  std::u16string signerFragment;             // lower case, in the executable's signer name
};

// The built-in table, in matching order.
const std::vector<InterceptorRule>& InterceptorRules();

// The rule that decides for a chain whose certificates have these issuer names (leaf
// first): for the first element with a non-empty name, the first rule whose fragment
// occurs in the lower-cased name. Later elements are tried only when no rule matches
// an earlier one. Nothing when no rule matches any element.
std::optional<std::size_t> FindInterceptorRule(const std::vector<std::u16string>& issuerNames);

// What the server presented, as the exemption decision sees it.
struct PresentedChain {
  // The chain builds, with no error ignored, to a root this machine trusts.
  bool endsAtTrustedRoot = false;
  std::vector<std::u16string> issuerNames;  // leaf first
};

// The rule whose product may exempt this chain from its pins. A scanning product
// installs its own root on the machine, so its chains end at a trusted root; a chain
// that does not (a self-signed one whose issuer merely reads like a product's) gets no
// rule, whatever it is called.
std::optional<std::size_t> ExemptingInterceptorRule(const PresentedChain& chain);
