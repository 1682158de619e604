#include "net/interceptor_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(InterceptorRules, TwentyOneWellFormedRules) {
  const std::vector<InterceptorRule>& rules = InterceptorRules();
  ASSERT_EQ(rules.size(), 21u);
  std::set<std::u16string> fragments;
  for (const InterceptorRule& rule : rules) {
    // A rule that matched every issuer would shadow all later ones.
    EXPECT_FALSE(rule.issuerFragment.empty());
    EXPECT_TRUE(fragments.insert(rule.issuerFragment).second) << "duplicate issuer fragment";
    EXPECT_GE(rule.processNames.size(), 1u);
    EXPECT_LE(rule.processNames.size(), 3u);
    EXPECT_FALSE(rule.signerFragment.empty());
    for (const std::u16string& text : rule.processNames) {
      EXPECT_TRUE(text.ends_with(u".exe"));
    }
    for (const std::u16string* text : {&rule.issuerFragment, &rule.signerFragment}) {
      for (char16_t c : *text) EXPECT_FALSE(c >= u'A' && c <= u'Z') << "fragments are lower case";
    }
  }
}

TEST(InterceptorRules, FirstNamedElementDecidesWithTheFirstMatchingRule) {
  const std::vector<InterceptorRule>& rules = InterceptorRules();
  const std::u16string kaspersky = u"Kaspersky Anti-Virus Personal Root Certificate";
  const std::optional<std::size_t> rule = FindInterceptorRule({u"", kaspersky});
  ASSERT_TRUE(rule);
  EXPECT_NE(kaspersky.find(u"Kaspersky"), std::u16string::npos);
  EXPECT_EQ(rules[*rule].issuerFragment, u"kaspersky");

  // The leaf's issuer is tried before the root's, whatever the root says.
  const std::optional<std::size_t> leafFirst =
      FindInterceptorRule({u"ESET SSL Filter CA", kaspersky});
  ASSERT_TRUE(leafFirst);
  EXPECT_EQ(rules[*leafFirst].issuerFragment, u"eset ssl filter");

  EXPECT_FALSE(FindInterceptorRule({}));
  EXPECT_FALSE(FindInterceptorRule({u"", u"Quorvel Test Intermediate (test only)"}));
}

// A scanner's chain ends at the root it installed; a chain that names a product but
// ends nowhere trusted is an attacker's self-signed costume.
TEST(InterceptorRules, OnlyAChainEndingAtATrustedRootMayBeExempt) {
  const struct {
    bool endsAtTrustedRoot;
    std::vector<std::u16string> issuerNames;
    std::u16string exemptingFragment;  // empty: no exemption
  } cases[] = {
      {false, {u"Avast! Web/Mail Shield Root"}, u""},
      {false, {u"ESET SSL Filter CA", u"ESET SSL Filter CA"}, u""},
      {true, {u"Avast! Web/Mail Shield Root"}, u"avast! web/mail shield"},
      {true, {u"Quorvel Test Root (test only)"}, u""},
      {true, {}, u""},
  };
  for (const auto& c : cases) {
    const std::optional<std::size_t> rule =
        ExemptingInterceptorRule({c.endsAtTrustedRoot, c.issuerNames});
    EXPECT_EQ(rule ? InterceptorRules()[*rule].issuerFragment : u"", c.exemptingFragment)
        << c.endsAtTrustedRoot << " " << c.issuerNames.size();
  }
}

}  // namespace
