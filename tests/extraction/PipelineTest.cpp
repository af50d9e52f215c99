#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "extraction/Errors.h"
#include "extraction/Pipeline.h"
#include "extraction/StagedExtraction.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

struct Report {
  bool isRange;
  ProgressChannel channel;
  std::int64_t value;
  bool operator==(const Report&) const = default;
};

class RecordingProgress : public ExtractionProgress {
 public:
  void ReportRange(ProgressChannel channel, std::int64_t total) override {
    reports.push_back({true, channel, total});
  }
  void ReportPosition(ProgressChannel channel, std::int64_t value) override {
    reports.push_back({false, channel, value});
  }
  std::int64_t rangeOf(ProgressChannel channel) const {
    for (const Report& report : reports) {
      if (report.isRange && report.channel == channel) return report.value;
    }
    return -1;
  }
  std::vector<std::int64_t> positionsOf(ProgressChannel channel) const {
    std::vector<std::int64_t> values;
    for (const Report& report : reports) {
      if (!report.isRange && report.channel == channel) values.push_back(report.value);
    }
    return values;
  }
  std::vector<Report> reports;
};

// A run over the given source lines with fresh working lists.
class ExtractionRun {
 public:
  explicit ExtractionRun(const std::vector<std::string>& lines,
                         std::string_view separators = kDefaultSeparators) {
    for (const std::string& line : lines) source.Lines().AppendLine(line);
    count = staged.run(source.Lines(), separators, &progress);
  }
  std::vector<std::string> result() const {
    std::vector<std::string> lines;
    for (std::int64_t i = 0; i < t2.Lines().LineCount(); ++i) lines.push_back(t2.Lines().GetLine(i));
    return lines;
  }

  TextPane source = TextPane::document();
  StagedExtraction staged;
  TextPane& t2 = staged.RichEditT2();
  TextPane& memo1 = staged.Memo1();
  RecordingProgress progress;
  std::int64_t count = -1;
};

using Lines = std::vector<std::string>;

TEST(RunExtraction, WorkedExampleKeepsLastOccurrencesInOrder) {
  ExtractionRun run({"Contact : Anne <anne@ex.test>, Bob (bob@ex.test)", "Pas d'adresse ici.",
                     "@ex.test et marc@ex.test; anne@ex.test", "serveur@poste1"});
  EXPECT_EQ(run.result(), (Lines{"bob@ex.test", "marc@ex.test", "anne@ex.test"}));
  EXPECT_EQ(run.count, 3);
  EXPECT_EQ(run.progress.rangeOf(ProgressChannel::LineScan), 4);
  EXPECT_EQ(run.progress.rangeOf(ProgressChannel::Cutting), 6);
  EXPECT_EQ(run.progress.rangeOf(ProgressChannel::Filtering), 14);
  EXPECT_EQ(run.progress.rangeOf(ProgressChannel::DedupOuter), 13);
  EXPECT_EQ(run.progress.rangeOf(ProgressChannel::DedupInner), 13);
  EXPECT_EQ(run.t2.buffer().text(), "bob@ex.test\r\nmarc@ex.test\r\nanne@ex.test\r\n");
}

TEST(RunExtraction, CutsFiltersAndDeduplicatesByTheTokenRules) {
  const std::string accentE = "\xE9";
  const struct {
    const char* name;
    Lines source;
    std::string separators;
    Lines expected;
  } rows[] = {
      {"empty source", {}, std::string(kDefaultSeparators), {}},
      {"no @", {"rien ici. vraiment."}, std::string(kDefaultSeparators), {}},
      {"address fills the line", {"anne@ex.test"}, std::string(kDefaultSeparators), {"anne@ex.test"}},
      {"full stop is no separator",
       {"Voir anne@ex.test."},
       std::string(kDefaultSeparators),
       {"anne@ex.test."}},
      {"hyphen underscore digits",
       {"(jean-luc_2@ex.test)"},
       std::string(kDefaultSeparators),
       {"jean-luc_2@ex.test"}},
      {"separator right before @",
       {"mailto:anne@ex.test"},
       std::string(kDefaultSeparators),
       {"anne@ex.test"}},
      {"accented letter cuts the local part",
       {"andr" + accentE + "@ex.test"},
       std::string(kDefaultSeparators),
       {}},
      {"tab separates", {"a\tb@c.test"}, std::string(kDefaultSeparators), {"b@c.test"}},
      {"no full stop is dropped",
       {"root@poste1 j.dupont@poste1"},
       std::string(kDefaultSeparators),
       {"j.dupont@poste1"}},
      {"two @ in one token", {"a@b@c.test"}, std::string(kDefaultSeparators), {"a@b@c.test"}},
      {"case matters",
       {"Anne@Ex.test anne@ex.test"},
       std::string(kDefaultSeparators),
       {"Anne@Ex.test", "anne@ex.test"}},
      {"last occurrence decides",
       {"x@y.test", "z@w.test x@y.test"},
       std::string(kDefaultSeparators),
       {"z@w.test", "x@y.test"}},
      {"lone @", {"@"}, std::string(kDefaultSeparators), {}},
      {"empty separator set", {"Contact: anne@ex.test"}, "", {"Contact: anne@ex.test"}},
      {"@ as separator", {"anne.x@ex.test"}, std::string(kDefaultSeparators) + "@", {"anne.x"}},
      {"beyond 4096 characters unseen",
       {std::string(4096, 'x') + " a@b.test"},
       std::string(kDefaultSeparators),
       {}},
      {"within 4096 characters seen",
       {std::string(4000, 'x') + " a@b.test"},
       std::string(kDefaultSeparators),
       {"a@b.test"}},
      {"É is no separator", {"<Andr\xC9@ex.test>"}, std::string(kDefaultSeparators), {"Andr\xC9@ex.test"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ExtractionRun run(row.source, row.separators);
    EXPECT_EQ(run.result(), row.expected);
    EXPECT_EQ(run.count, static_cast<std::int64_t>(row.expected.size()));
  }
}

TEST(RunExtraction, OverflowOfAWorkingListStopsTheRunAtTheCopyThatNoLongerFits) {
  // 98 characters and a line break: 655 copies fill 65,500 characters, the 656th does not fit.
  const std::string line = std::string(89, 'x') + " a@b.test";
  TextPane source = TextPane::document();
  for (int i = 0; i < 700; ++i) source.Lines().AppendLine(line);
  StagedExtraction staged;
  TextPane& t1 = staged.RichEditT1();
  TextPane& t2 = staged.RichEditT2();
  setPaneText(t2.buffer(), "previous\r\n");
  try {
    staged.run(source.Lines(), kDefaultSeparators, nullptr);
    FAIL() << "no error";
  } catch (const EOutOfResources& error) {
    EXPECT_STREQ(error.what(), "Erreur d'insertion de ligne RichEdit");
  }
  // The 656th copy keeps the 36 characters that still fitted.
  EXPECT_EQ(t1.Lines().LineCount(), 656);
  EXPECT_EQ(t1.Lines().GetLine(655), line.substr(0, 36));
  EXPECT_EQ(t2.buffer().text(), "previous\r\n");
}

TEST(RunExtraction, StartsFromEmptyWorkingListsWhateverTheyHeld) {
  ExtractionRun run({"a@b.test"});
  ExtractionRun again({"c@d.test"});
  setPaneText(again.t2.buffer(), "stale@x.test\r\n");
  setPaneText(again.memo1.buffer(), "stale@x.test\r\n");
  again.count = again.staged.run(again.source.Lines(), kDefaultSeparators, nullptr);
  EXPECT_EQ(again.result(), (Lines{"c@d.test"}));
}

TEST(RunExtraction, ReportsProgressAtEveryLineTokenAndComparison) {
  ExtractionRun run({"a@b.test c@d.test", "no", "a@b.test"});
  using enum ProgressChannel;
  EXPECT_EQ(run.progress.positionsOf(LineScan), (std::vector<std::int64_t>{0, 1, 2, 3}));
  EXPECT_EQ(run.progress.positionsOf(Cutting), (std::vector<std::int64_t>{1, 1, 2, 3}));
  EXPECT_EQ(run.progress.positionsOf(Filtering), (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5}));
  // Five tokens: each outer step visits the later ones, ends full, then resets.
  EXPECT_EQ(run.progress.positionsOf(DedupOuter), (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 5}));
  EXPECT_EQ(run.progress.positionsOf(DedupInner),
            (std::vector<std::int64_t>{1, 2, 3, 4, 5, 0, 2, 3, 4, 5, 0, 3, 4, 5, 0, 4, 5, 0, 5, 0, 5}));
}

TEST(RunExtraction, CuttingReportsPositionOneEvenWithAnEmptyRange) {
  ExtractionRun run({"nothing"});
  using enum ProgressChannel;
  const std::vector<Report> cutting = {{true, Cutting, 0}, {false, Cutting, 1}};
  auto first = std::find(run.progress.reports.begin(), run.progress.reports.end(), cutting[0]);
  ASSERT_NE(first, run.progress.reports.end());
  EXPECT_EQ(*(first + 1), cutting[1]);
  // Filtering begins only after the cutting stage has reported.
  auto filtering =
      std::find(run.progress.reports.begin(), run.progress.reports.end(), Report{true, Filtering, 0});
  EXPECT_GT(filtering, first);
}

TEST(Separators, DefaultSetIsTheThirtyNineDocumentedBytes) {
  const unsigned char expected[] = {0x2C, 0x3B, 0x3A, 0x21, 0x20, 0x3C, 0x3E, 0x28, 0x29, 0xE9,
                                    0xE8, 0xE0, 0xE7, 0xF9, 0x24, 0x2A, 0x5C, 0x2F, 0x3F, 0x2B,
                                    0x3D, 0x5B, 0x5D, 0x5E, 0x7C, 0x7B, 0x7D, 0x27, 0x22, 0x23,
                                    0x7E, 0x26, 0xA3, 0xA4, 0xB5, 0x25, 0xA8, 0xA7, 0x09};
  EXPECT_EQ(kDefaultSeparators, std::string_view(reinterpret_cast<const char*>(expected), sizeof expected));
}

TEST(Separators, OnlySingleCharactersOfTheSetAreSeparators) {
  EXPECT_TRUE(IsSeparator(",", kDefaultSeparators));
  EXPECT_TRUE(IsSeparator("\xE9", kDefaultSeparators));
  EXPECT_FALSE(IsSeparator("\xC9", kDefaultSeparators));
  EXPECT_FALSE(IsSeparator("", kDefaultSeparators));
  EXPECT_FALSE(IsSeparator(",;", kDefaultSeparators));
  EXPECT_FALSE(IsSeparator("@", kDefaultSeparators));
  EXPECT_FALSE(IsSeparator("a", ""));
}

}  // namespace
}  // namespace glanex::test
