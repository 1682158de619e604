#include "net/interceptor_rules.h"

#include "common/hidden_text.h"
#include "common/text.h"

namespace {

std::u16string Reveal(const auto& hidden) { return AsciiToUtf16(hidden.Reveal()); }

#define RULE_TEXT(text) Reveal(QUORVEL_HIDDEN(text))

std::vector<InterceptorRule> BuildRules() {
  return {
      {RULE_TEXT("avast! web/mail shield"), {RULE_TEXT("avastsvc.exe")}, RULE_TEXT("avast")},
      {RULE_TEXT("avg web/mail shield"), {RULE_TEXT("avgsvc.exe")}, RULE_TEXT("avg technologies")},
      {RULE_TEXT("kaspersky"),
       {RULE_TEXT("avp.exe"), RULE_TEXT("avpui.exe")},
       RULE_TEXT("kaspersky")},
      {RULE_TEXT("eset ssl filter"), {RULE_TEXT("ekrn.exe")}, RULE_TEXT("eset")},
      {RULE_TEXT("bitdefender"),
       {RULE_TEXT("bdservicehost.exe"), RULE_TEXT("vsserv.exe"), RULE_TEXT("bdagent.exe")},
       RULE_TEXT("bitdefender")},
      {RULE_TEXT("norton web/mail shield"),
       {RULE_TEXT("nortonsvc.exe"), RULE_TEXT("ns.exe")},
       RULE_TEXT("gen digital")},
      {RULE_TEXT("dr.web"),
       {RULE_TEXT("spideragent.exe"), RULE_TEXT("dwservice.exe")},
       RULE_TEXT("doctor web")},
      {RULE_TEXT("sophos"),
       {RULE_TEXT("sophoshealth.exe"), RULE_TEXT("swi_service.exe")},
       RULE_TEXT("sophos")},
      {RULE_TEXT("fortinet"),
       {RULE_TEXT("fortitray.exe"), RULE_TEXT("fcdblog.exe")},
       RULE_TEXT("fortinet")},
      {RULE_TEXT("mcafee"),
       {RULE_TEXT("mcshield.exe"), RULE_TEXT("mfefire.exe")},
       RULE_TEXT("mcafee")},
      {RULE_TEXT("trend micro"),
       {RULE_TEXT("coreserviceshell.exe"), RULE_TEXT("pccntmon.exe")},
       RULE_TEXT("trend micro")},
      {RULE_TEXT("f-secure"),
       {RULE_TEXT("fshoster64.exe"), RULE_TEXT("fshoster32.exe")},
       RULE_TEXT("f-secure")},
      {RULE_TEXT("g data"),
       {RULE_TEXT("avkwctlx64.exe"), RULE_TEXT("gdscan.exe")},
       RULE_TEXT("g data")},
      {RULE_TEXT("emsisoft"), {RULE_TEXT("a2service.exe")}, RULE_TEXT("emsisoft")},
      {RULE_TEXT("panda"),
       {RULE_TEXT("psanhost.exe"), RULE_TEXT("pavsrvx86.exe")},
       RULE_TEXT("panda security")},
      {RULE_TEXT("comodo"), {RULE_TEXT("cmdagent.exe"), RULE_TEXT("cis.exe")}, RULE_TEXT("comodo")},
      {RULE_TEXT("quick heal"),
       {RULE_TEXT("scsecsvc.exe"), RULE_TEXT("quhlpsvc.exe")},
       RULE_TEXT("quick heal")},
      {RULE_TEXT("adguard"),
       {RULE_TEXT("adguardsvc.exe"), RULE_TEXT("adguard.exe")},
       RULE_TEXT("adguard")},
      {RULE_TEXT("zscaler"),
       {RULE_TEXT("zsatunnel.exe"), RULE_TEXT("zsaservice.exe")},
       RULE_TEXT("zscaler")},
      {RULE_TEXT("netskope"),
       {RULE_TEXT("stagentsvc.exe"), RULE_TEXT("stagentui.exe")},
       RULE_TEXT("netskope")},
      {RULE_TEXT("k7 computing"),
       {RULE_TEXT("k7tsmngr.exe"), RULE_TEXT("k7rtscan.exe")},
       RULE_TEXT("k7 computing")},
  };
}

#undef RULE_TEXT

}  // namespace

const std::vector<InterceptorRule>& InterceptorRules() {
  static const std::vector<InterceptorRule> rules = BuildRules();
  return rules;
}

std::optional<std::size_t> FindInterceptorRule(const std::vector<std::u16string>& issuerNames) {
  const std::vector<InterceptorRule>& rules = InterceptorRules();
  for (const std::u16string& name : issuerNames) {
    if (name.empty()) continue;
    const std::u16string lowerName = AsciiLower(name);
    for (std::size_t i = 0; i < rules.size(); ++i) {
      const std::u16string& fragment = rules[i].issuerFragment;
      if (fragment.empty() || lowerName.find(fragment) != std::u16string::npos) return i;
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> ExemptingInterceptorRule(const PresentedChain& chain) {
  if (!chain.endsAtTrustedRoot) return std::nullopt;
  return FindInterceptorRule(chain.issuerNames);
}
