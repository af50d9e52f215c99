#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "extraction/MergedAddressList.h"
#include "extraction/Pipeline.h"
#include "extraction/StreamingExtraction.h"

namespace glanex {
namespace {

using Addresses = std::vector<std::string>;

// Inputs of addresses between blanks, drawn from few spellings so that they repeat within and across
// inputs, in several cases.
std::vector<Addresses> randomInputs(std::mt19937& random) {
  const std::vector<std::string> spellings = {"a@x.fr", "A@x.fr", "a@X.FR", "b@x.fr", "B@x.fr", "c@y.fr"};
  std::vector<Addresses> inputs(1 + random() % 4);
  for (Addresses& input : inputs) {
    input.resize(random() % 6);
    for (std::string& address : input) address = spellings[random() % spellings.size()];
  }
  return inputs;
}

std::string joined(const Addresses& words, const char* separator) {
  std::string text;
  for (const std::string& word : words) text += word + separator;
  return text;
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Every token once under its folded key, where and as it last occurred: the rule -i gives, applied to the
// whole stream of tokens at once.
AddressList lastOccurrencesIgnoringCase(const Addresses& tokens) {
  std::unordered_set<std::string> seen;
  Addresses kept;
  for (auto token = tokens.rbegin(); token != tokens.rend(); ++token) {
    if (seen.insert(lowered(*token)).second) kept.push_back(*token);
  }
  AddressList inOrder;
  for (auto token = kept.rbegin(); token != kept.rend(); ++token) inOrder.push_back(*token);
  return inOrder;
}

TEST(MergedAddressList, GivesTheListOfTheInputsReadOneAfterTheOther) {
  std::mt19937 random(14);
  for (int round = 0; round < 500; ++round) {
    const std::vector<Addresses> inputs = randomInputs(random);
    MergedAddressList exact(MergedAddressList::Case::Exact);
    MergedAddressList folded(MergedAddressList::Case::IgnoreAscii);
    std::string wholeText;
    Addresses allTokens;
    for (const Addresses& input : inputs) {
      const std::string text = joined(input, " ");
      exact.append(extractAddressesUnlimited(text, kDefaultSeparators));
      folded.append(extractAddressesUnlimited(text, kDefaultSeparators));
      wholeText += text + "\r\n";
      allTokens.insert(allTokens.end(), input.begin(), input.end());
    }
    SCOPED_TRACE(wholeText);
    EXPECT_EQ(exact.takeAddresses(), extractAddressesUnlimited(wholeText, kDefaultSeparators));
    EXPECT_EQ(folded.takeAddresses(), lastOccurrencesIgnoringCase(allTokens));
  }
}

}  // namespace
}  // namespace glanex
