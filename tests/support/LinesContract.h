#pragma once

#include <gtest/gtest.h>

#include <string>

#include "extraction/Errors.h"
#include "extraction/PaneCommands.h"
#include "extraction/TStrings.h"
#include "extraction/TextControl.h"

// The line rules every pane implementation must follow. A test file instantiates the suite with a pane
// type offering: a constructor taking the capacity, control(), lines() and the constant `kind`.
namespace glanex::test {

template <typename Pane>
class LinesContract : public ::testing::Test {
 protected:
  // A pane holding `text` (line breaks CR LF), loaded as a file would be.
  static std::unique_ptr<Pane> paneWith(const std::string& text, std::int64_t capacity = kLoadedCapacity) {
    auto pane = std::make_unique<Pane>(capacity);
    pane->control().setDocument(FormattedText::fromPlainText(text));
    return pane;
  }
  static std::string textOf(Pane& pane) { return pane.control().document().plainText(); }
};

TYPED_TEST_SUITE_P(LinesContract);

TYPED_TEST_P(LinesContract, LineCountLeavesOutOnlyOneTrailingEmptyLine) {
  const struct {
    const char* text;
    std::int64_t count;
  } rows[] = {{"", 0}, {"a", 1}, {"a\r\n", 1}, {"a\r\nb", 2}, {"a\r\n\r\n", 2}, {"\r\n", 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(this->paneWith(row.text)->lines().LineCount(), row.count);
  }
}

TYPED_TEST_P(LinesContract, GetLineCutsAt4096CharactersWithoutStrayCarriageReturn) {
  for (const std::size_t length : {4094u, 4095u, 4096u, 4097u, 5000u}) {
    SCOPED_TRACE(length);
    const std::string line(length, 'x');
    auto pane = this->paneWith(line + "\r\nnext");
    EXPECT_EQ(pane->lines().GetLine(0), std::string(std::min<std::size_t>(length, 4096), 'x'));
    EXPECT_EQ(pane->lines().GetLine(1), "next");
  }
}

TYPED_TEST_P(LinesContract, GetLineBeyondTheCountedLinesIsEmptyAndLeavesTheSelection) {
  auto pane = this->paneWith("a\r\nb\r\n");
  pane->control().select(1, 2);
  EXPECT_EQ(pane->lines().GetLine(2), "");
  EXPECT_EQ(pane->lines().GetLine(99), "");
  EXPECT_EQ(pane->lines().GetLine(1), "b");
  EXPECT_EQ(pane->control().selectionStart(), 1);
  EXPECT_EQ(pane->control().selectionLength(), 2);
}

TYPED_TEST_P(LinesContract, ReplaceLineChangesOnlyExistingLines) {
  auto empty = this->paneWith("");
  empty->lines().ReplaceLine(0, "x");
  EXPECT_EQ(this->textOf(*empty), "x");
  empty->lines().ReplaceLine(1, "y");
  EXPECT_EQ(this->textOf(*empty), "x");

  auto pane = this->paneWith("a\r\nbb\r\nc");
  pane->lines().ReplaceLine(1, "middle");
  EXPECT_EQ(this->textOf(*pane), "a\r\nmiddle\r\nc");
  EXPECT_EQ(pane->control().selectionStart(), 9);

  auto trailing = this->paneWith("a\r\nb\r\n");
  trailing->lines().ReplaceLine(2, "c");
  EXPECT_EQ(this->textOf(*trailing), "a\r\nb\r\nc");
}

TYPED_TEST_P(LinesContract, InsertAndAppendPutTheLineBreakWhereTheTextNeedsIt) {
  const struct {
    const char* name;
    const char* text;
    std::int64_t index;
    const char* line;
    const char* expected;
  } rows[] = {
      {"append to empty", "", -2, "c", "c\r\n"},
      {"append after final break", "a\r\nb\r\n", -2, "c", "a\r\nb\r\nc\r\n"},
      {"append after unfinished line", "a\r\nb", -2, "c", "a\r\nb\r\nc"},
      {"append empty after unfinished line", "a", -2, "", "a\r\n"},
      {"append empty after final break", "a\r\n", -2, "", "a\r\n\r\n"},
      {"insert before first", "a\r\nb", 0, "z", "z\r\na\r\nb"},
      {"insert before negative", "a", -1, "z", "a"},
      {"insert far past the end", "a", 5, "z", "a"},
      {"insert after empty last line", "a\r\n\r\n", 3, "z", "a\r\n\r\n"},
      {"line with its own breaks", "", -2, "x\ny", "x\r\ny\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto pane = this->paneWith(row.text);
    if (row.index == -2) {
      pane->lines().AppendLine(row.line);
    } else {
      pane->lines().InsertLine(row.index, row.line);
    }
    EXPECT_EQ(this->textOf(*pane), row.expected);
  }
}

TYPED_TEST_P(LinesContract, AppendLineReturnsTheCountItUsedAndMovesTheCaret) {
  auto pane = this->paneWith("a\r\nb");
  EXPECT_EQ(pane->lines().AppendLine("c"), 2);
  EXPECT_EQ(pane->lines().LineCount(), 3);
  EXPECT_EQ(pane->control().selectionStart(), pane->control().length());
  pane->lines().AppendLine("");
  EXPECT_EQ(pane->lines().LineCount(), 3);
}

TYPED_TEST_P(LinesContract, ClearTextEmptiesAndClearsTheModifiedFlag) {
  auto pane = this->paneWith("a\r\nb");
  pane->control().setModified(true);
  pane->control().select(2, 1);
  pane->lines().ClearText();
  EXPECT_EQ(this->textOf(*pane), "");
  EXPECT_EQ(pane->lines().LineCount(), 0);
  EXPECT_EQ(pane->control().selectionStart(), 0);
  EXPECT_FALSE(pane->control().isModified());
}

TYPED_TEST_P(LinesContract, AssignLinesCopiesCountedLinesEachEndedByABreak) {
  auto source = this->paneWith("x\r\ny");
  auto target = this->paneWith("old\r\nlines\r\nhere");
  target->lines().AssignLines(source->lines());
  EXPECT_EQ(this->textOf(*target), "x\r\ny\r\n");
  EXPECT_EQ(target->lines().LineCount(), 2);

  auto longSource = this->paneWith(std::string(5000, 'q') + "\r\n\r\nz");
  target->lines().AssignLines(longSource->lines());
  EXPECT_EQ(this->textOf(*target), std::string(4096, 'q') + "\r\n\r\nz\r\n");

  // Beyond the capacity the lines that fit stay, and only the rich kind says so.
  auto small = this->paneWith("", 10);
  auto overflowing = this->paneWith("a\r\nb\r\ncc\r\nd");
  if (TypeParam::kind == PaneKind::Rich) {
    EXPECT_THROW(small->lines().AssignLines(overflowing->lines()), EOutOfResources);
  } else {
    small->lines().AssignLines(overflowing->lines());
  }
  EXPECT_EQ(this->textOf(*small), "a\r\nb\r\ncc\r\n");
}

TYPED_TEST_P(LinesContract, AppendToLineKeepsLinesLongerThanGetLineShows) {
  auto pane = this->paneWith(std::string(5000, 'a') + "\r\nb");
  pane->lines().AppendToLine(0, ",");
  pane->lines().AppendToLine(7, ",");
  EXPECT_EQ(this->textOf(*pane), std::string(5000, 'a') + ",\r\nb");
}

TYPED_TEST_P(LinesContract, OnlyTheRichKindRefusesWhatItsCapacityCannotTake) {
  // Each line takes 3 characters with its break: the fourth no longer fits in 10.
  auto pane = this->paneWith("", 10);
  for (int i = 0; i < 3; ++i) pane->lines().AppendLine("a");
  if (TypeParam::kind == PaneKind::Rich) {
    try {
      pane->lines().AppendLine("bb");
      FAIL() << "no error";
    } catch (const EOutOfResources& error) {
      EXPECT_STREQ(error.what(), "Erreur d'insertion de ligne RichEdit");
    }
    // The part that fitted stays.
    EXPECT_EQ(this->textOf(*pane), "a\r\na\r\na\r\nb");
  } else {
    pane->lines().AppendLine("bb");
    EXPECT_EQ(pane->lines().LineCount(), 4);
  }
}

TYPED_TEST_P(LinesContract, EditsMadeThroughTheControlAreSeenByTheNextCall) {
  auto pane = this->paneWith("a\r\nb");
  pane->control().select(pane->control().length(), 0);
  pane->control().replaceSelection("\r\nc");
  EXPECT_EQ(pane->lines().LineCount(), 3);
  EXPECT_EQ(pane->lines().GetLine(2), "c");
}

// Big plain files load as text rather than as a document; the pane must end up the same either way.
TYPED_TEST_P(LinesContract, APlainTextLoadEqualsTheSameTextLoadedAsADocument) {
  for (const char* text : {"", "a", "a\r\n", "\r\n\r\nb\xE9", "un\r\n\r\ndeux\r\n\xA0trois"}) {
    SCOPED_TRACE(text);
    auto asDocument = this->paneWith(text);
    auto asText = std::make_unique<TypeParam>(kLoadedCapacity);
    asText->control().setPlainText(text);
    EXPECT_EQ(asText->control().document(), asDocument->control().document());
    EXPECT_EQ(asText->lines().LineCount(), asDocument->lines().LineCount());
    EXPECT_EQ(asText->control().selectionStart(), 0);
    EXPECT_EQ(asText->control().selectionLength(), 0);
  }
}

REGISTER_TYPED_TEST_SUITE_P(
    LinesContract, LineCountLeavesOutOnlyOneTrailingEmptyLine,
    GetLineCutsAt4096CharactersWithoutStrayCarriageReturn,
    GetLineBeyondTheCountedLinesIsEmptyAndLeavesTheSelection, ReplaceLineChangesOnlyExistingLines,
    InsertAndAppendPutTheLineBreakWhereTheTextNeedsIt, AppendLineReturnsTheCountItUsedAndMovesTheCaret,
    ClearTextEmptiesAndClearsTheModifiedFlag, AssignLinesCopiesCountedLinesEachEndedByABreak,
    AppendToLineKeepsLinesLongerThanGetLineShows, OnlyTheRichKindRefusesWhatItsCapacityCannotTake,
    EditsMadeThroughTheControlAreSeenByTheNextCall, APlainTextLoadEqualsTheSameTextLoadedAsADocument);

}  // namespace glanex::test
