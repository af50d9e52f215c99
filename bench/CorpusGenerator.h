#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace glanex {

// The kinds of text the whole-process comparison reads. Dense is a mail-like text with an "@" about
// every 200 bytes and distinct addresses in proportion to its size (about 50,000 per 100 MB).
enum class CorpusKind { Mail, Html, Csv, Dense };

// Writes large Windows-1252 corpora with CR LF line breaks for the whole-process comparison: a mail
// archive, a web directory page or a CSV export of members, holding a few thousand distinct addresses
// whatever the size, or the dense mail text. Everything that varies comes from the seed, so a seed always
// gives the same bytes. Text is assembled from pools built once (people, paragraphs, message ids), so that a
// gigabyte costs little more than copying it.
class CorpusGenerator {
 public:
  CorpusGenerator(CorpusKind kind, std::uint64_t seed);

  // Hands about `size` bytes (never more) to `sink`, in chunks of a few megabytes.
  void generate(std::uint64_t size, const std::function<void(std::string_view)>& sink);

  // How many people, each with an address of their own, the corpus draws from.
  std::size_t peopleCount() const { return people_.size(); }

 private:
  struct Person {
    std::string firstName;
    std::string displayName;  // "Hélène Dupré"
    std::string address;      // "helene.dupre@exemple.fr"
    std::string mailbox;      // "Hélène Dupré <helene.dupre@exemple.fr>", sometimes with a quoted name
    std::string signature;    // "-- " and three lines, the address on the last
    std::string city;
    std::string phone;
    // CSV fields, [0] bare and [1] quoted: "last;first;", the address, ";city;phone;".
    std::array<std::string, 2> csvNames;
    std::array<std::string, 2> csvAddress;
    std::array<std::string, 2> csvPlace;
  };

  std::uint64_t nextRandom();
  std::size_t below(std::size_t bound);
  bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[below(items.size())];
  }

  void buildPeople();
  void buildParagraphs();
  void buildMessageIds();
  std::string sentenceWithAddress();
  struct MessageDates {
    std::string header;       // "Tue, 05 Mar 2024 14:22:31 +0100"
    std::string separator;    // "Tue Mar  5 14:22:31 2024", on the mbox "From " line
    std::string attribution;  // "05/03/2024 à 14:22", in "Le ..., X a écrit :"
  };
  MessageDates messageDates();

  // One unit of the corpus (a message, a page section, a block of rows), appended to `out`.
  void appendMessage(std::string& out);
  void appendSection(std::string& out);
  void appendRows(std::string& out);
  void appendDenseLines(std::string& out);
  std::string header() const;
  std::string footer() const;

  CorpusKind kind_;
  std::uint64_t randomState_;
  std::vector<Person> people_;
  std::vector<std::string> paragraphs_;        // wrapped prose, lines ended by CR LF
  std::vector<std::string> quotedParagraphs_;  // the same with "> " before every line
  std::vector<std::string> csvComments_;       // one quoted line each
  std::vector<std::string> messageIds_;
  // How many addresses of the dense kind each person has, set from the size asked for.
  std::size_t addressVariants_ = 1;
};

// "mail", "html", "csv" or "dense" as a kind; false for any other name.
bool parseCorpusKind(std::string_view name, CorpusKind& kind);

}  // namespace glanex
