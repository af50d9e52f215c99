#include "bench/BenchmarkSources.h"

#include <random>

#include "extraction/TextControl.h"

namespace glanex {

namespace {

constexpr const char* kLineBreak = "\r\n";

// Characters that no separator set of the program holds, to spell distinct address parts.
constexpr std::string_view kTokenDigits = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// `n` written in kTokenDigits with exactly `width` digits.
std::string tokenDigits(std::size_t n, int width) {
  std::string digits(static_cast<std::size_t>(width), kTokenDigits[0]);
  for (int i = width - 1; i >= 0; --i) {
    digits[static_cast<std::size_t>(i)] = kTokenDigits[n % kTokenDigits.size()];
    n /= kTokenDigits.size();
  }
  return digits;
}

std::string contactCard(std::uint32_t person, const std::string& address) {
  const std::string number = std::to_string(person);
  return "<div class=\"fiche\">" + std::string(kLineBreak) +                          //
         "  <h2>Membre " + number + "</h2>" + kLineBreak +                            //
         "  <p>T\xE9l\xE9phone : 01 23 45 " + number + " &mdash; bureau " + number +  //
         "</p>" + kLineBreak +                                                        //
         "  <p>\xC9"
         "crire \xE0 <a href=\"mailto:" +
         address + "\">" + address + "</a></p>" + kLineBreak + "</div>" + kLineBreak;
}

constexpr const char* kFiller =
    "<p>L'association se r\xE9unit chaque premier jeudi du mois ; les comptes rendus sont "
    "publi\xE9s sur cette page, avec le calendrier des sorties et la liste des b\xE9n\xE9voles.</p>";

}  // namespace

std::string workedExampleSource() {
  return "Contact : Anne <anne@ex.test>, Bob (bob@ex.test)\r\n"
         "Pas d'adresse ici.\r\n"
         "@ex.test et marc@ex.test; anne@ex.test\r\n"
         "serveur@poste1\r\n";
}

std::string webPageSource(std::uint32_t seed, std::size_t approximateBytes) {
  std::mt19937 random(seed);
  // Fewer distinct addresses than cards, so that duplicate removal has repeats to drop.
  constexpr std::uint32_t kDistinctAddresses = 150;
  std::string page =
      "<!DOCTYPE html>\r\n<html lang=\"fr\">\r\n<head><title>Annuaire</title></head>\r\n<body>\r\n";
  while (page.size() < approximateBytes) {
    const std::uint32_t person = random() % kDistinctAddresses;
    const std::string address =
        "membre." + std::to_string(person) + "@club" + std::to_string(person % 7) + ".test";
    page += contactCard(person, address);
    for (std::uint32_t paragraphs = random() % 3; paragraphs > 0; --paragraphs)
      page += kFiller + std::string(kLineBreak);
  }
  return page + "</body>\r\n</html>\r\n";
}

std::string fullWorkingListSource() {
  std::string source;
  std::int64_t stageLength = 0;
  // Shortest local parts first: one digit, then two, and so on.
  for (int width = 1;; ++width) {
    std::size_t combinations = 1;
    for (int i = 0; i < width; ++i) combinations *= kTokenDigits.size();
    for (std::size_t n = 0; n < combinations; ++n) {
      const std::string line = tokenDigits(n, width) + "@b.c";
      // The first stage copies each line with its CR LF into a list of kWorkingListCapacity characters.
      const auto cost = static_cast<std::int64_t>(line.size()) + 2;
      if (stageLength + cost > kWorkingListCapacity) return source;
      stageLength += cost;
      source += line + kLineBreak;
    }
  }
}

std::string addressListSource(int count) {
  std::string list;
  for (int i = 0; i < count; ++i) list += "contact" + std::to_string(i) + "@exemple.test" + kLineBreak;
  return list;
}

}  // namespace glanex
